#include <iterator>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "engine/engine.h"

namespace {

// Monday 7 March 2011, 14:05:09 local time.
constexpr engine::TDateTime Afternoon{2011, 3, 7, 14, 5, 9, 0, 1};

engine::TDateTime At(int hour, int minute, int second) {
    engine::TDateTime when = Afternoon;
    when.Hour = hour;
    when.Minute = minute;
    when.Second = second;
    return when;
}

struct TPatternRow {
    const char* name;
    const char* pattern;
    const char* want;
};

void ExpectRendered(const TPatternRow* begin, const TPatternRow* end,
                    const engine::TDateTime& when = Afternoon,
                    const engine::TFormatSettings& settings = {}) {
    for (const TPatternRow* r = begin; r != end; ++r) {
        SCOPED_TRACE(r->name);
        EXPECT_EQ(engine::FormatDateTime(r->pattern, when, settings), r->want);
    }
}

} // namespace

TEST(FormatDateTime, RendersEachElementQuotesAndTheMinuteAndTwelveHourRules) {
    const TPatternRow rows[] = {
        {"y: two-digit year", "y", "11"},
        {"yy: two-digit year", "yy", "11"},
        {"yyy: full year", "yyy", "2011"},
        {"yyyyy: full year", "yyyyy", "2011"},
        {"m: month", "m", "3"},
        {"mm: month with zero", "MM", "03"},
        {"mmm: short month name", "mmm", "Mar"},
        {"mmmmm: long month name", "mmmmm", "March"},
        {"d: day", "d", "7"},
        {"dd: day with zero", "dd", "07"},
        {"ddd: short day name", "ddd", "Mon"},
        {"dddd: long day name", "DDDD", "Monday"},
        {"ddddd: short date pattern", "ddddd", "3/7/11"},
        {"dddddd: long date pattern", "dddddd", "March 7, 2011"},
        {"h: hour", "h", "14"},
        {"hhh counts as hh", "hhh", "14"},
        {"n: minute", "n", "5"},
        {"nnn counts as nn", "nnn", "05"},
        {"s: second", "s", "9"},
        {"ss: second with zero", "ss", "09"},
        {"z: milliseconds", "z", "0"},
        {"zz: two digits", "zz", "00"},
        {"zzz: three digits", "ZZZ", "000"},
        {"zzzz: three digits", "zzzz", "000"},
        {"t: short time pattern", "t", "2:05 pm"},
        {"tt: long time pattern", "tt", "2:05:09 pm"},
        {"c: date and time", "c", "3/7/11 2:05:09 pm"},
        {"am/pm keeps the written case", "Am/pM", "pM"},
        {"a/p keeps the written case", "A/p", "p"},
        {"ampm gives the PM text", "AMPM", "pm"},
        {"aaa: short day name", "aaa", "Mon"},
        {"aaaa: long day name", "aAaA", "Monday"},
        {"other a is itself", "ab", "ab"},
        {"e: the year", "e", "2011"},
        {"g: nothing", "g", ""},
        {"other letters are themselves", "Qx", "Qx"},
        {"separators", "yyyy/mm/dd hh:nn", "2011/03/07 14:05"},
        {"multi-byte characters copied whole", "yyyy年m月d日", "2011年3月7日"},
        // Quoted text is copied.
        {"single quotes", "'yyyy' yy", "yyyy 11"},
        {"double quotes", "\"d\"d", "d7"},
        {"each kind holds the other", "'\"h\"' \"'\"", "\"h\" '"},
        {"empty quotes render nothing", "d''d", "77"},
        {"unclosed quote runs to the end", "yy 'h:m", "11 h:m"},
        // m is the minute after an hour.
        {"m after an hour is the minute", "h:mm:ss", "14:05:09"},
        {"quotes and blanks in between don't matter", "hh'x' m", "14x 5"},
        {"a letter element in between makes it the month", "h d mm", "14 7 03"},
        {"a literal letter in between makes it the month", "h q mm", "14 q 03"},
        {"a multi-byte character in between makes it the month", "h时mm", "14时03"},
        {"a stray byte is a one-byte character", "h\xffm",
         "14\xff"
         "5"},
        {"so is each byte of a broken sequence", "h\xe4\xb8mm",
         "14\xe4\xb8"
         "05"},
        {"without an hour it is the month", "n mm", "5 03"},
        {"after the minute it is the month again", "h:m:m", "14:5:3"},
        // The 12-hour form, where an AM/PM element is ahead or before.
        {"off by default", "h", "14"},
        {"an AM/PM element ahead switches it on", "h:nn am/pm", "2:05 pm"},
        {"a/p ahead", "hh a/p", "02 p"},
        {"ampm ahead", "h ampm", "2 pm"},
        {"an AM/PM element before switches it on", "AMPM h", "pm 2"},
        {"look-ahead stops at the next h", "h h am/pm", "14 2 pm"},
        {"look-ahead stops at the first a", "h ab am/pm", "14 ab pm"},
        {"quoted a is skipped", "h 'a' a/p", "2 a p"},
        {"quoted am/pm counts for nothing", "h 'am/pm'", "14 am/pm"},
        {"a quoted h stops the look-ahead", "h 'h' am/pm", "14 h pm"},
        {"a quoted H stops it too", "h \"xH\" ampm", "14 xH pm"},
        {"a closed quote lets it go on", "h 'x' \"y\" ampm", "2 x y pm"},
        {"stays on to the end", "a/p h", "p 2"},
    };
    ExpectRendered(std::begin(rows), std::end(rows));
}

TEST(FormatDateTime, SeparatorsComeFromTheSettings) {
    engine::TFormatSettings settings;
    settings.DateSeparator = '-';
    settings.TimeSeparator = '.';
    EXPECT_EQ(engine::FormatDateTime("m/d h:n", Afternoon, settings), "3-7 14.5");
    settings.DateSeparator = '\0';
    settings.TimeSeparator = '\0';
    EXPECT_EQ(engine::FormatDateTime("m/d h:n", Afternoon, settings), "37 145");
}

TEST(FormatDateTime, InsertsOneLevelDeep) {
    engine::TFormatSettings settings;
    settings.ShortDatePattern = "d.m[c ddddd dddddd t tt]";
    settings.LongDatePattern = "d[dddddd]";
    settings.LongTimePattern = "h:nn:ss[tt c]";
    settings.ShortTimePattern = "h:nn[t]";
    const TPatternRow rows[] = {
        {"ddddd", "ddddd", "7.3[    ]"}, {"dddddd", "dddddd", "7[]"},         {"t", "t", "14:05[]"},
        {"tt", "tt", "14:05:09[ ]"},     {"c", "c", "7.3[    ] 14:05:09[ ]"},
    };
    ExpectRendered(std::begin(rows), std::end(rows), Afternoon, settings);
}

TEST(FormatDateTime, CutsAt256BytesOnACharacterBoundary) {
    const auto years = [](int count) {
        std::string text;
        while (count-- > 0)
            text += "年";
        return text;
    };
    EXPECT_EQ(engine::FormatDateTime(std::string(300, 'x'), Afternoon, {}), std::string(256, 'x'));
    EXPECT_EQ(engine::FormatDateTime("'" + std::string(1000, '-'), Afternoon, {}),
              std::string(256, '-'));
    EXPECT_EQ(engine::FormatDateTime("x" + years(100), Afternoon, {}), "x" + years(85));
    EXPECT_EQ(engine::FormatDateTime("xx" + years(100), Afternoon, {}), "xx" + years(84));
    const std::string dashes = "'" + std::string(254, '-');
    EXPECT_EQ(engine::FormatDateTime(dashes + "-\x80\x80", Afternoon, {}),
              dashes.substr(1) + "-\x80")
        << "a stray byte is a character of its own";
    EXPECT_EQ(engine::FormatDateTime(dashes + "\xc3\xa9\xa9", Afternoon, {}),
              dashes.substr(1) + "\xc3\xa9")
        << "a character ends where its sequence ends";
    engine::TFormatSettings settings;
    settings.LongDatePattern = std::string(200, 'x');
    EXPECT_EQ(engine::FormatDateTime("dddddd dddddd", Afternoon, settings),
              std::string(200, 'x') + " " + std::string(55, 'x'));
}

TEST(FormatDateTime, RendersTheExtremesOfEveryField) {
    constexpr int Min = std::numeric_limits<int>::min();
    constexpr int Max = std::numeric_limits<int>::max();
    const TPatternRow lowest[] = {
        {"year", "yyyy", "-2147483648"},
        {"two-digit year", "yy", "-48"},
        {"minute, second", "n:ss", "-2147483648:-2147483648"},
        {"month and day names out of range", "mmmm dddd", " "},
    };
    ExpectRendered(std::begin(lowest), std::end(lowest), {Min, Min, Min, Min, Min, Min, Min, Min});
    const TPatternRow highest[] = {
        {"year", "yyyy", "2147483647"},
        {"hour in 12-hour form", "h AM/PM", "7 PM"},
        {"milliseconds", "zzz", "2147483647"},
    };
    ExpectRendered(std::begin(highest), std::end(highest),
                   {Max, Max, Max, Max, Max, Max, Max, Max});
}

// The date and the long time ("c"); at midnight the date alone. The regional tests show it in
// each locale's own patterns.
TEST(ModificationText, MidnightShowsTheDateAlone) {
    const struct {
        const char* name;
        engine::TDateTime when;
        const char* want;
    } rows[] = {
        {"exactly midnight", At(0, 0, 0), "3/7/11"},
        {"one second past", At(0, 0, 1), "3/7/11 12:00:01 am"},
        {"half past midnight", At(0, 30, 0), "3/7/11 12:30:00 am"},
        {"milliseconds don't count", {2011, 3, 7, 0, 0, 0, 500, 1}, "3/7/11"},
        {"before 1980", {1969, 7, 20, 20, 17, 40, 0, 0}, "7/20/69 8:17:40 pm"},
        {"after 2107", {2150, 1, 1, 12, 0, 0, 0, 4}, "1/1/50 12:00:00 pm"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::ModificationText(r.when, {}), r.want);
    }
}
