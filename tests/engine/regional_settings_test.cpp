#include <string>

#include <gtest/gtest.h>

#include "engine/regional_settings.h"

namespace {

// Monday 7 March 2011, 14:05:09 local time.
constexpr engine::TDateTime Afternoon{2011, 3, 7, 14, 5, 9, 0, 1};

} // namespace

TEST(ConvertDateFormat, TurnsQtFieldsIntoElements) {
    const struct {
        const char* name;
        const char* format;
        const char* want;
    } rows[] = {
        {"Chinese short date", "yyyy/M/d", "yyyy/m/d"},
        {"Chinese long date: literals quoted", "yyyy年M月d日dddd", "yyyy'年'm'月'd'日'dddd"},
        {"German short date", "dd.MM.yy", "dd.mm.yy"},
        {"American long date: punctuation stays bare", "dddd, MMMM d, yyyy", "dddd, mmmm d, yyyy"},
        {"month and day names", "ddd d MMM", "ddd d mmm"},
        {"a quoted word stays quoted", "d 'de' MMMM", "d 'de' mmmm"},
        {"quoted punctuation stays quoted", "d'.'M", "d'.'m"},
        {"an escaped quote", "yy''MM", "yy\"'\"mm"},
        {"a quote inside quoted text", "'o''clock' d", "'o'\"'clock\" d"},
        {"a double quote is text", "d\"M", "d'\"'m"},
        {"an unclosed quote runs to the end", "d 'at", "d 'at'"},
        {"a bare word is quoted", "d x M", "d' x 'm"},
        {"a lone y is a letter", "y/M", "'y/'m"},
        {"yyy is yy and a letter", "yyy", "yy'y'"},
        {"time fields read as letters", "d h", "d 'h'"},
        {"a run of five days stays apart", "ddddd", "dddd''d"},
        {"a run of five months stays apart", "MMMMM", "mmmm''m"},
        {"other characters are quoted", "d\u200f/M", "d'\u200f/'m"},
        {"empty", "", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::ConvertDateFormat(r.format), r.want);
    }
}

TEST(DateSeparatorOf, TakesTheLiteralBetweenTheFirstTwoNumbers) {
    const struct {
        const char* name;
        const char* format;
        char want;
    } rows[] = {
        {"slash after the year", "yyyy/M/d", '/'},
        {"dot", "dd.MM.yy", '.'},
        {"slash after the month", "M/d/yy", '/'},
        {"dash", "yyyy-MM-dd", '-'},
        {"quoted literal counts", "d'.'M", '.'},
        {"day name first", "dddd, d.M.", '.'},
        {"Chinese character is not ASCII", "yyyy年M月d日", '\0'},
        {"two characters", "yy. M. d.", '\0'},
        {"a mark before the slash", "d\u200f/M\u200f/yyyy", '\0'},
        {"a month name in between", "d MMM yyyy", '\0'},
        {"a letter", "dxM", '\0'},
        {"nothing in between", "yyyyMMdd", '\0'},
        {"only one number", "MMMM yyyy", '\0'},
        {"empty", "", '\0'},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::DateSeparatorOf(r.format), r.want);
    }
}

TEST(TimeFormatFactsOf, ReadsTheClock) {
    const struct {
        const char* name;
        const char* format;
        bool twelveHour, leadingZero, ampmFirst;
        char separator;
    } rows[] = {
        {"Chinese", "t HH:mm:ss", false, true, false, ':'},
        {"American", "h:mm:ss AP t", true, false, false, ':'},
        {"German", "HH:mm:ss t", false, true, false, ':'},
        {"Korean: AM/PM first", "AP h시 m분 s초 t", true, false, true, '\0'},
        {"Japanese separators", "H時mm分ss秒 t", false, false, false, '\0'},
        {"lower-case ap", "hh:mm:ss ap", true, true, false, ':'},
        {"a lone A", "A h.mm", true, false, true, '.'},
        {"day period dropped", "Bh:mm:ss [t]", false, false, false, ':'},
        {"a quoted a is text", "HH:mm 'a'", false, true, false, ':'},
        {"hhh reads as hh", "hhh:mm", false, true, false, '\0'},
        {"words between hour and minute", "HH 'h' mm", false, true, false, '\0'},
        {"no hour", "mm:ss", false, false, false, '\0'},
        {"missing: defaults", "", true, false, false, '\0'},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const auto facts = engine::TimeFormatFactsOf(r.format);
        EXPECT_EQ(facts.TwelveHour, r.twelveHour);
        EXPECT_EQ(facts.HourLeadingZero, r.leadingZero);
        EXPECT_EQ(facts.AmPmFirst, r.ampmFirst);
        EXPECT_EQ(facts.TimeSeparator, r.separator);
    }
}

TEST(BuildTimePattern, GivesTheSixForms) {
    const struct {
        bool twelveHour, leadingZero, ampmFirst;
        const char* wantLong;
        const char* wantShort;
    } rows[] = {
        {false, false, false, "h:mm:ss", "h:mm"},
        {false, true, true, "hh:mm:ss", "hh:mm"},
        {true, false, false, "h:mm:ss AMPM", "h:mm AMPM"},
        {true, true, false, "hh:mm:ss AMPM", "hh:mm AMPM"},
        {true, false, true, "AMPM h:mm:ss", "AMPM h:mm"},
        {true, true, true, "AMPM hh:mm:ss", "AMPM hh:mm"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.wantLong);
        const engine::TTimeFormatFacts facts{r.twelveHour, r.leadingZero, r.ampmFirst, ':'};
        EXPECT_EQ(engine::BuildTimePattern(facts, true), r.wantLong);
        EXPECT_EQ(engine::BuildTimePattern(facts, false), r.wantShort);
    }
}

TEST(FormatSettingsFromLocale, MissingValuesGiveTheDefaults) {
    const engine::TFormatSettings settings = engine::FormatSettingsFromLocale({});
    EXPECT_EQ(engine::ModificationText(Afternoon, settings), "3/7/11 2:05:09 pm");
    EXPECT_EQ(engine::FormatDateTime("dddddd|t", Afternoon, settings), "March 7, 2011|2:05 pm");
}

TEST(FormatSettingsFromLocale, RendersWhatTheLocaleSays) {
    engine::TLocaleConventions korean;
    korean.ShortDateFormat = "yy. M. d.";
    korean.LongDateFormat = "yyyy년 M월 d일 dddd";
    korean.LongTimeFormat = "AP h시 m분 s초 t";
    korean.AmText = "오전";
    korean.PmText = "오후";
    korean.LongDayNames[1] = "월요일";
    korean.ShortMonthNames[2] = "3월";
    const engine::TFormatSettings settings = engine::FormatSettingsFromLocale(korean);
    EXPECT_EQ(settings.ShortDatePattern, "yy. m. d.");
    EXPECT_EQ(settings.LongTimePattern, "AMPM h:mm:ss");
    EXPECT_EQ(settings.ShortTimePattern, "AMPM h:mm");
    EXPECT_EQ(engine::ModificationText(Afternoon, settings), "11. 3. 7. 오후 2:05:09");
    EXPECT_EQ(engine::FormatDateTime("dddddd", Afternoon, settings), "2011년 3월 7일 월요일");
    EXPECT_EQ(engine::FormatDateTime("mmm dddd ddd", Afternoon, settings), "3월 월요일 Mon");
}
