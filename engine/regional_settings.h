#pragma once
// Turning a locale's conventions into ready-to-render date and time patterns: on Linux from
// Qt's locale data (Qt's pattern letters), on Windows from the system's regional values. Pure:
// the readers live elsewhere, these functions only convert.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "engine/platform/regional_values.h"

namespace engine {

// A Qt date format as a date pattern: "yyyy/M/d" gives "yyyy/m/d", "yyyy年M月d日dddd" gives
// "yyyy'年'm'月'd'日'dddd". Literal text holding a letter is quoted.
std::string ConvertDateFormat(std::string_view format);

// The date separator of a Qt date format: the literal between its first two numeric fields
// when that is one ASCII character that is no letter or digit; else '\0'.
char DateSeparatorOf(std::string_view format);

// What a Qt time format says about the clock.
struct TTimeFormatFacts {
    bool TwelveHour = true;       // an AM/PM field (AP, ap, A, a) is present
    bool HourLeadingZero = false; // the hour field is HH or hh
    bool AmPmFirst = false;       // the AM/PM field comes before the hour
    char TimeSeparator = '\0';    // the separator between hour and minute, by the date's rule
};
TTimeFormatFacts TimeFormatFactsOf(std::string_view timeFormat);

// The long (with seconds) or short time pattern the clock facts give: "AMPM hh:mm:ss", ...
std::string BuildTimePattern(const TTimeFormatFacts& facts, bool withSeconds);

// The settings the values give: a failed or malformed value keeps its default; a separator
// counts only as one ASCII character; numbers that are no integer count as 0 (the calendar
// type as 1); the long time pattern is built from the clock, hour digits and AM/PM position;
// the date patterns get the era adjustment (calendar types 3 to 5: g to ggg, y to e; else in
// Chinese, Japanese and Korean no era letters at all).
TFormatSettings FormatSettingsFromRegionalValues(const TRegionalValues& values);

// A date pattern after the era adjustment for `calendarType`. Pure.
std::string AdjustEra(std::string_view pattern, int calendarType, bool chineseJapaneseOrKorean);

} // namespace engine
