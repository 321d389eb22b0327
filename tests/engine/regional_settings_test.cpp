#include <cstdlib>
#include <optional>
#include <string>

#include <locale.h>

#include <gtest/gtest.h>

#include "engine/regional_settings.h"

namespace {

// Sets LC_ALL for the test process and puts the old value back afterwards.
class TScopedLocaleEnvironment {
public:
    explicit TScopedLocaleEnvironment(const char* name) {
        if (const char* old = std::getenv("LC_ALL")) m_old = old;
        ::setenv("LC_ALL", name, 1);
    }
    ~TScopedLocaleEnvironment() {
        if (m_old) ::setenv("LC_ALL", m_old->c_str(), 1);
        else ::unsetenv("LC_ALL");
    }

private:
    std::optional<std::string> m_old;
};

bool LocaleInstalled(const char* name) {
    const locale_t locale = ::newlocale(LC_TIME_MASK, name, static_cast<locale_t>(0));
    if (locale) ::freelocale(locale);
    return locale != static_cast<locale_t>(0);
}

constexpr engine::TDateTime Afternoon{2011, 3, 7, 14, 5, 9, 0, 1};

} // namespace

TEST(ConvertDateFormat, TurnsDirectivesIntoElements) {
    const struct {
        const char* name;
        const char* format;
        const char* want;
    } rows[] = {
        {"Chinese literals quoted", "%Y年%m月%d日", "yyyy'年'mm'月'dd'日'"},
        {"dots", "%d.%m.%Y", "dd.mm.yyyy"},
        {"slashes", "%m/%d/%y", "mm/dd/yy"},
        {"%D expands", "%D", "mm/dd/yy"},
        {"%F expands", "%F", "yyyy-mm-dd"},
        {"%e and %-m without zero", "%e.%-m.%Y", "d.m.yyyy"},
        {"%-d", "%-d/%-m/%y", "d/m/yy"},
        {"E and O modifiers ignored", "%Ey/%Om/%Od", "yy/mm/dd"},
        {"ISO week years", "%G-%g", "yyyy-yy"},
        {"names", "%a %d %b %Y", "ddd dd mmm yyyy"},
        {"long names", "%A, %B %e", "dddd, mmmm d"},
        {"literal words quoted", "%d de %B de %Y", "dd' de 'mmmm' de 'yyyy"},
        {"a quote inside literal text", "%y'%m", "yy\"'\"mm"},
        {"other directives dropped", "%d/%m/%Y %Z%j", "dd/mm/yyyy "},
        {"%% is a literal percent", "%d%%", "dd%"},
        {"same-letter neighbours stay apart", "%d%e", "dd''d"},
        {"trailing lone percent dropped", "%d%", "dd"},
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
        {"dot", "%d.%m.%Y", '.'},
        {"slash", "%m/%d/%y", '/'},
        {"%D", "%D", '/'},
        {"%F", "%F", '-'},
        {"Chinese character is not one byte", "%Y年%m月%d日", '\0'},
        {"two characters", "%Y. %m. %d.", '\0'},
        {"a name in between", "%d %B %Y", '\0'},
        {"a letter", "%dx%m", '\0'},
        {"only one number", "%B %Y", '\0'},
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
        const char* timeFormat;
        const char* ampmFormat;
        bool twelveHour, leadingZero, ampmFirst;
        char separator;
    } rows[] = {
        {"24-hour with zero", "%H:%M:%S", "%I:%M:%S %p", false, true, false, ':'},
        {"%T", "%T", "", false, true, false, ':'},
        {"%R", "%R", "", false, true, false, ':'},
        {"%r is 12-hour", "%r", "%I:%M:%S %p", true, true, false, ':'},
        {"%l without zero", "%l.%M %p", "", true, false, false, '.'},
        {"%k without zero", "%k:%M", "", false, false, false, ':'},
        {"%-H without zero", "%-H:%M", "", false, false, false, ':'},
        {"%-I without zero", "%-I:%M", "", true, false, false, ':'},
        {"O modifier", "%OH:%OM", "", false, true, false, ':'},
        {"AM/PM first, Chinese separators", "%H时%M分%S秒", "%p %I时%M分%S秒", false, true, true,
         '\0'},
        {"no hour: 24-hour", "%M:%S", "", false, false, false, '\0'},
        {"unreadable: defaults", "", "", true, false, false, '\0'},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const auto facts = engine::TimeFormatFactsOf(r.timeFormat, r.ampmFormat);
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

TEST(AdjustForEra, RemovesEraLettersForChineseJapaneseKorean) {
    const struct {
        const char* name;
        const char* locale;
        const char* pattern;
        const char* want;
    } rows[] = {
        {"Chinese", "zh_CN.UTF-8", "ggyyyy'年'G", "yyyy'年'"},
        {"Japanese", "ja_JP", "gg y/m/d", " y/m/d"},
        {"Korean with modifier", "ko_KR@euro", "Gy", "y"},
        {"multi-byte characters stay whole", "zh_TW", "g年g", "年"},
        {"German unchanged", "de_DE.UTF-8", "gg y", "gg y"},
        {"C unchanged", "C.UTF-8", "g", "g"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::AdjustForEra(r.pattern, r.locale), r.want);
    }
}

TEST(BuildFormatSettings, UnreadableTextsGiveTheDefaults) {
    const engine::TFormatSettings settings = engine::BuildFormatSettings({});
    EXPECT_EQ(settings.ShortDatePattern, "m/d/yy");
    EXPECT_EQ(settings.LongDatePattern, "mmmm d, yyyy");
    EXPECT_EQ(settings.LongTimePattern, "h:mm:ss AMPM");
    EXPECT_EQ(settings.ShortTimePattern, "h:mm AMPM");
    EXPECT_EQ(engine::ModificationText(Afternoon, settings), "3/7/11 2:05:09 pm");
}

TEST(BuildFormatSettings, PrefersTrimmedStandaloneMonthNames) {
    engine::TLocaleTexts texts;
    texts.AltMonthNames[0] = " 一月 ";
    texts.MonthNames[0] = "unused";
    texts.MonthNames[1] = "Februar";
    texts.ShortAltMonthNames[0] = " 1月";
    texts.DayNames[0] = "星期日";
    texts.ShortDayNames[6] = "Sa";
    const engine::TFormatSettings settings = engine::BuildFormatSettings(texts);
    EXPECT_EQ(settings.LongMonthNames[0], "一月");
    EXPECT_EQ(settings.LongMonthNames[1], "Februar");
    EXPECT_EQ(settings.LongMonthNames[2], "March");
    EXPECT_EQ(settings.ShortMonthNames[0], "1月");
    EXPECT_EQ(settings.LongDayNames[0], "星期日");
    EXPECT_EQ(settings.ShortDayNames[6], "Sa");
    EXPECT_EQ(settings.ShortDayNames[0], "Sun");
}

namespace {

struct TRealLocaleRow {
    const char* locale;
    const char* shortDate;
    const char* longTime;
    char dateSeparator;
    const char* amText;
    const char* march;
    const char* sunday;
    const char* modified;
};

void ExpectRealLocale(const TRealLocaleRow& r) {
    if (!LocaleInstalled(r.locale)) GTEST_SKIP() << r.locale << " is not installed";
    TScopedLocaleEnvironment environment(r.locale);
    const engine::TFormatSettings settings = engine::ReadRegionalSettings();
    EXPECT_EQ(settings.ShortDatePattern, r.shortDate);
    EXPECT_EQ(settings.LongTimePattern, r.longTime);
    EXPECT_EQ(settings.DateSeparator, r.dateSeparator);
    EXPECT_EQ(settings.TimeAMString, r.amText);
    EXPECT_EQ(settings.LongMonthNames[2], r.march);
    EXPECT_EQ(settings.LongDayNames[0], r.sunday);
    EXPECT_EQ(engine::ModificationText(Afternoon, settings), r.modified);
}

} // namespace

TEST(ReadRegionalSettings, CUtf8) {
    ExpectRealLocale({"C.UTF-8", "mm/dd/yy", "hh:mm:ss", '/', "AM", "March", "Sunday",
                      "03/07/11 14:05:09"});
}

TEST(ReadRegionalSettings, German) {
    ExpectRealLocale({"de_DE.UTF-8", "dd.mm.yyyy", "hh:mm:ss", '.', "am", "März", "Sonntag",
                      "07.03.2011 14:05:09"});
}

TEST(ReadRegionalSettings, Chinese) {
    ExpectRealLocale({"zh_CN.UTF-8", "yyyy'年'mm'月'dd'日'", "hh:mm:ss", '/', "上午", "三月",
                      "星期日", "2011年03月07日 14:05:09"});
}

TEST(ReadRegionalSettings, AmericanEnglish) {
    ExpectRealLocale({"en_US.UTF-8", "mm/dd/yyyy", "hh:mm:ss AMPM", '/', "AM", "March", "Sunday",
                      "03/07/2011 02:05:09 PM"});
}
