#pragma once
// Turning the texts of a POSIX LC_TIME locale into ready-to-render date and time patterns.
// Pure: the platform reads the texts, these functions only convert them.

#include <array>
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace engine {

// The LC_TIME texts of one locale as nl_langinfo gives them; an empty text is unreadable.
struct TLocaleTexts {
    std::string LocaleName; // "zh_CN.UTF-8"; its language decides the era adjustment
    std::string DateFormat; // D_FMT
    std::string TimeFormat; // T_FMT
    std::string TimeFormatAmPm; // T_FMT_AMPM
    std::string AmText, PmText;
    std::array<std::string, 12> MonthNames, ShortMonthNames;       // MON_n, ABMON_n
    std::array<std::string, 12> AltMonthNames, ShortAltMonthNames; // standalone forms
    std::array<std::string, 7> DayNames, ShortDayNames;            // Sunday first
};

// Settings from `texts`, defaults where a text is unreadable.
TFormatSettings BuildFormatSettings(const TLocaleTexts& texts);

// A strftime date format as a date pattern: "%d.%m.%Y" gives "dd.mm.yyyy".
std::string ConvertDateFormat(std::string_view format);

// The date separator of a strftime date format, or '\0' when it has none usable.
char DateSeparatorOf(std::string_view format);

// What T_FMT and T_FMT_AMPM say about the clock, after expanding %r, %T and %R.
struct TTimeFormatFacts {
    bool TwelveHour = true;
    bool HourLeadingZero = false;
    bool AmPmFirst = false;
    char TimeSeparator = '\0'; // '\0' when it has none usable
};
TTimeFormatFacts TimeFormatFactsOf(std::string_view timeFormat, std::string_view ampmFormat);

// The long (with seconds) or short time pattern the clock facts give: "AMPM hh:mm:ss", ...
std::string BuildTimePattern(const TTimeFormatFacts& facts, bool withSeconds);

// Removes every "g" and "G" from `pattern` when the locale's language is zh, ja or ko.
std::string AdjustForEra(std::string pattern, std::string_view localeName);

} // namespace engine
