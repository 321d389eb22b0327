#pragma once
// EXPECT_THROW_MSG(statement, Type, message): `statement` throws `Type` whose what() is exactly
// `message`.

#include <string>

#include <gtest/gtest.h>

#define EXPECT_THROW_MSG(statement, Type, message)                                                 \
    do {                                                                                           \
        std::string caught_;                                                                       \
        bool thrown_ = false;                                                                      \
        try {                                                                                      \
            statement;                                                                             \
        } catch (const Type& e) {                                                                  \
            thrown_ = true;                                                                        \
            caught_ = e.what();                                                                    \
        }                                                                                          \
        EXPECT_TRUE(thrown_) << #statement " did not throw " #Type;                                \
        if (thrown_) {                                                                             \
            EXPECT_EQ(caught_, std::string(message));                                              \
        }                                                                                          \
    } while (false)
