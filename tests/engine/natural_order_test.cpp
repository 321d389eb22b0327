#include <string>

#include <gtest/gtest.h>

#include "engine/engine.h"

namespace {

bool Before(const std::string& a, const std::string& b) {
    return engine::NaturalCompare(a, b) < 0;
}

} // namespace

TEST(NaturalCompare, OrdersPairs) {
    struct Row {
        const char* name;
        std::string first, second;
    };
    const Row rows[] = {
        {"letters ignore ASCII case", "a.txt", "B.txt"},
        {"numbers by value", "c2.txt", "c10.txt"},
        {"fewer leading zeros first", "x7", "x007"},
        {"equal value, zeros then bytes", "x07", "x007"},
        {"digit run counts as the character 0", "a0b", "a1"},
        {"digit run before a letter", "a9", "aa"},
        {"digit run after a character below 0", "a-", "a9"},
        {"shorter name first", "abc", "abcd"},
        {"raw bytes break a case tie", "ABC", "abc"},
        {"code points beyond ASCII", "z", "中"},
        {"stray byte is one character", std::string("a\x80"), "a中"},
        {"overlong form is stray bytes", "a!", "a\xe0\x80\x80"},
        {"a lone surrogate (WTF-8) is its code point", "a中", "a\xed\xa0\x80"},
        {"no sequence starts with F5", "a\xf5\x80\x80", "a中"},
        {"huge numbers never overflow", "f99999999999999999999", "f100000000000000000000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_TRUE(Before(r.first, r.second));
        EXPECT_FALSE(Before(r.second, r.first));
    }
}

TEST(NaturalCompare, EqualOnlyForEqualNames) {
    EXPECT_EQ(engine::NaturalCompare("File10", "File10"), 0);
    EXPECT_NE(engine::NaturalCompare("file10", "File10"), 0);
    EXPECT_NE(engine::NaturalCompare("a01", "a1"), 0);
}
