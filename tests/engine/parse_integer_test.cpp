#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/engine/test_paths.h"
#include "tests/engine/throw_message.h"

TEST(ParseSettingsInteger, AcceptsEveryForm) {
    struct Row {
        const char* name;
        const char* text;
        std::int32_t want;
    };
    const Row rows[] = {
        {"plain", "7", 7},
        {"leading zeros", "007", 7},
        {"leading blanks", "  7", 7},
        {"plus sign", "+7", 7},
        {"minus sign", "-7", -7},
        {"blanks then sign", " -7", -7},
        {"largest", "2147483647", 2147483647},
        {"smallest", "-2147483648", INT32_MIN},
        {"dollar hex", "$A", 10},
        {"x hex", "x1F", 31},
        {"X hex", "X1f", 31},
        {"0x hex", "0x10", 16},
        {"0X hex", "0XfF", 255},
        {"all ones pattern", "$FFFFFFFF", -1},
        {"sign bit pattern", "$80000000", INT32_MIN},
        {"negated pattern", "-$FFFFFFFF", 1},
        {"negated sign bit wraps", "-$80000000", INT32_MIN},
        {"signed hex", "+$10", 16},
        {"hex leading zeros are not significant", "$000000000FF", 255},
        {"hex zero", "0x0", 0},
        {"zero", "0", 0},
        {"minus zero", "-0", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::ParseSettingsInteger(r.text), r.want);
    }
}

TEST(ParseSettingsInteger, RejectsWithTheWholeText) {
    struct Row {
        const char* name;
        std::string text;
    };
    const Row rows[] = {
        {"empty", ""},
        {"blanks only", "   "},
        {"trailing blank", "7 "},
        {"blank after sign", "- 7"},
        {"two signs", "+-7"},
        {"letter after digits", "1a"},
        {"above the range", "2147483648"},
        {"below the range", "-2147483649"},
        {"far above the range", "99999999999999999999"},
        {"tab is not skipped", "\t7"},
        {"sign alone", "-"},
        {"dollar alone", "$"},
        {"0x alone", "0x"},
        {"x alone", "x"},
        {"nine significant hex digits", "$100000000"},
        {"not a hex digit", "$1G"},
        {"sign after hex prefix", "$-1"},
        {"blank inside", "1 2"},
        {"decimal point", "1.5"},
        {"full-width digit", "７"},
        {"stray byte", std::string("7\xff")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_THROW_MSG(engine::ParseSettingsInteger(r.text), engine::TError,
                         "'" + r.text + "' is not a valid integer value");
    }
}

TEST(ParseSettingsInteger, ShowsANulOfTheTextEscaped) {
    // what() is a C string: a raw NUL would cut the message short.
    EXPECT_THROW_MSG(engine::ParseSettingsInteger(std::string("7\0 8", 4)), engine::TError,
                     "'7\\0 8' is not a valid integer value");
    EXPECT_THROW_MSG(engine::ParseDigitCount(std::string("\0", 1)), engine::TError,
                     "'\\0' is not a valid integer value");
}

TEST(ParseDigitCount, AllowsUpTo255AndRefusesLargerCountsClearly) {
    EXPECT_EQ(engine::ParseDigitCount("255"), 255);
    EXPECT_EQ(engine::ParseDigitCount("-1000"), -1000);
    EXPECT_EQ(engine::ParseDigitCount("$FF"), 255);
    EXPECT_THROW_MSG(engine::ParseDigitCount("256"), engine::TError,
                     test_paths::DigitCountTooLarge("256"));
    EXPECT_THROW_MSG(engine::ParseDigitCount(" $7FFFFFFF"), engine::TError,
                     test_paths::DigitCountTooLarge(" $7FFFFFFF"));
    EXPECT_THROW_MSG(engine::ParseDigitCount("4x"), engine::TError,
                     "'4x' is not a valid integer value");
}
