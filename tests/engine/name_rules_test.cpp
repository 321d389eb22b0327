// What Windows names need, as pure functions: run on every platform.
#include <string>

#include <gtest/gtest.h>

#include "engine/name_rules.h"
#include "engine/platform/wtf8.h"
#include "engine/regional_settings.h"

TEST(IsValidWindowsName, RefusesWhatWindowsWouldChangeOrMisread) {
    const struct {
        const char* name;
        bool valid;
    } rows[] = {
        {"plain.txt", true}, {"名字 (2).txt", true}, {"sub\\x", true},     {"../x", true},
        {"CONSOLE", true},   {"COM0", true},         {"LPT10.txt", true},  {"a.b", true},
        {"a<b", false},      {"a>b", false},         {"a:b", false},       {"a\"b", false},
        {"a|b", false},      {"a?b", false},         {"a*b", false},       {"a\x01z", false},
        {"a\x1fz", false},   {"trailing.", false},   {"trailing ", false}, {"sub./x", false},
        {"CON", false},      {"con.txt", false},     {"PRN", false},       {"AUX.tar.gz", false},
        {"NUL.txt", false},  {"nul .txt", false},    {"COM1", false},      {"COM9.log", false},
        {"LPT1", false},     {"lpt9.x", false},      {"sub/NUL", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::IsValidWindowsName(r.name), r.valid);
    }
}

// Names that Windows takes for one, and names it tells apart.
TEST(IsCaseOnlyRename, FoldsTheLettersWindowsFolds) {
    const struct {
        const char *from, *to;
        bool caseOnly;
    } rows[] = {
        {"img_1.jpg", "IMG_1.jpg", true}, {"été.txt", "ÉTÉ.txt", true}, {"ÿ", "Ÿ", true},
        {"łódź", "ŁÓDŹ", true},           {"αβγ", "ΑΒΓ", true},         {"ёжик", "ЁЖИК", true},
        {"ａｂ", "ＡＢ", true},           {"same", "same", false},      {"a×b", "a÷b", false},
        {"照片", "照片 ", false},         {"ß", "SS", false},           {"a\xff", "A\xff", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.from) + " -> " + r.to);
        EXPECT_EQ(engine::IsCaseOnlyRename(r.from, r.to), r.caseOnly);
    }
}

TEST(Wtf8, RoundTripsEveryUtf16StringUnpairedSurrogatesIncluded) {
    // Single units are all below; these are the ones a pairing of surrogates could get wrong.
    const std::u16string strings[] = {
        u"",
        u"\U0001F600 pair",
        {u'a', char16_t(0xD800), u'b'},
        {char16_t(0xDBFF), char16_t(0xDBFF), char16_t(0xDFFF)},
        {char16_t(0xDFFF), char16_t(0xD800)},
    };
    for (const std::u16string& units : strings) {
        const std::string bytes = engine::Wtf8FromUtf16(units);
        std::u16string back;
        ASSERT_TRUE(engine::Utf16FromWtf8(bytes, back));
        EXPECT_EQ(back, units);
    }
    // Every single unit, surrogates included.
    for (char32_t unit = 1; unit <= 0xFFFF; ++unit) {
        const std::u16string one(1, static_cast<char16_t>(unit));
        std::u16string back;
        ASSERT_TRUE(engine::Utf16FromWtf8(engine::Wtf8FromUtf16(one), back)) << int(unit);
        ASSERT_EQ(back, one) << int(unit);
    }
    EXPECT_EQ(engine::Wtf8FromUtf16(std::u16string(1, char16_t(0xD800))), "\xED\xA0\x80");
    EXPECT_EQ(engine::Wtf8FromUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Wtf8, RefusesBytesThatAreNoWtf8) {
    for (const char* bytes : {"\xff", "a\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xF4\x90\x80\x80",
                              "\xE5\x90", "\xF0\x9F\x98"}) {
        std::u16string units;
        EXPECT_FALSE(engine::Utf16FromWtf8(bytes, units)) << bytes;
    }
}

namespace {

engine::TRegionalValues ValuesOf(const char* shortDate, const char* am, const char* pm,
                                 const char* clock, const char* position, bool cjk) {
    engine::TRegionalValues values;
    values.ShortDate = shortDate;
    values.LongDate = cjk ? "yyyy'年'M'月'd'日' gg" : "dddd, MMMM d, yyyy";
    values.DateSeparator = "/";
    values.TimeSeparator = ":";
    values.AmText = am;
    values.PmText = pm;
    values.HourLeadingZero = "0";
    values.Clock = clock;
    values.AmPmPosition = position;
    values.CalendarType = "1";
    values.ChineseJapaneseOrKorean = cjk;
    return values;
}

} // namespace

TEST(FormatSettingsFromRegionalValues, GivesTheModificationTextsOfEachLocale) {
    const engine::TDateTime afternoon{2011, 3, 7, 14, 5, 9, 0, 1};
    const engine::TDateTime morning{2011, 3, 7, 9, 5, 9, 0, 1};
    const struct {
        const char* locale;
        engine::TRegionalValues values;
        const char* afternoon;
        const char* morning;
    } rows[] = {
        {"zh-CN", ValuesOf("yyyy/M/d", "上午", "下午", "1", "1", true), "2011/3/7 14:05:09",
         "2011/3/7 9:05:09"},
        {"en-US", ValuesOf("M/d/yyyy", "AM", "PM", "0", "0", false), "3/7/2011 2:05:09 PM",
         "3/7/2011 9:05:09 AM"},
        {"zh-TW 12-hour before", ValuesOf("yyyy/M/d", "上午", "下午", "0", "1", true),
         "2011/3/7 下午 2:05:09", "2011/3/7 上午 9:05:09"},
        {"nothing readable", engine::TRegionalValues{}, "3/7/11 2:05:09 pm", "3/7/11 9:05:09 am"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.locale);
        const engine::TFormatSettings settings = engine::FormatSettingsFromRegionalValues(r.values);
        EXPECT_EQ(engine::ModificationText(afternoon, settings), r.afternoon);
        EXPECT_EQ(engine::ModificationText(morning, settings), r.morning);
    }
    const auto chinese = engine::FormatSettingsFromRegionalValues(rows[0].values);
    EXPECT_EQ(chinese.LongDatePattern, "yyyy'年'M'月'd'日' ") << "no era in Chinese";
}

TEST(FormatSettingsFromRegionalValues, ReadsNamesSundayFirstAndRefusesWideSeparators) {
    engine::TRegionalValues values;
    values.LongDayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    values.ShortMonthNames[0] = "";
    values.DateSeparator = "--";
    values.TimeSeparator = "\xef\xbc\x9a"; // a full-width colon is no single byte
    values.Clock = "x";
    values.CalendarType = "3";
    values.ShortDate = "gg yy/MM/dd";
    const engine::TFormatSettings settings = engine::FormatSettingsFromRegionalValues(values);
    EXPECT_EQ(settings.LongDayNames[0], "Sun");
    EXPECT_EQ(settings.LongDayNames[1], "Mon");
    EXPECT_EQ(settings.ShortMonthNames[0], "Jan") << "an empty name keeps its default";
    EXPECT_EQ(settings.DateSeparator, '/');
    EXPECT_EQ(settings.TimeSeparator, ':');
    EXPECT_EQ(settings.LongTimePattern, "h:mm:ss AMPM") << "a clock that is no number counts as 0";
    EXPECT_EQ(settings.ShortDatePattern, "ggg ee/MM/dd");
}
