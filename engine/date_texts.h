#pragma once
// Modification times as the user's regional settings write them.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/platform/system_values.h"

namespace engine {

// Date and time texts as the user's regional settings give them, patterns ready to render.
struct TFormatSettings {
    std::string ShortDatePattern = "m/d/yy";
    std::string LongDatePattern = "mmmm d, yyyy";
    std::string ShortTimePattern = "h:mm AMPM";
    std::string LongTimePattern = "h:mm:ss AMPM";
    char DateSeparator = '/'; // '\0' renders nothing
    char TimeSeparator = ':';
    std::string TimeAMString = "am";
    std::string TimePMString = "pm";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

// A locale's date and time conventions as Qt's locale data (CLDR) gives them: formats in Qt's
// pattern letters ("yyyy/M/d", "h:mm:ss AP t"), texts in UTF-8. An empty text is missing.
struct TLocaleConventions {
    std::string ShortDateFormat;
    std::string LongDateFormat;
    std::string LongTimeFormat;
    std::string AmText, PmText;
    std::array<std::string, 12> LongMonthNames, ShortMonthNames; // January first
    std::array<std::string, 7> LongDayNames, ShortDayNames;      // Sunday first
};

// The settings `locale` gives: date patterns converted from Qt's letters (literal text holding a
// letter quoted), the time patterns built from the long time's hour field, clock and AM/PM
// position; every missing value keeps its default. Pure; never throws.
TFormatSettings FormatSettingsFromLocale(const TLocaleConventions& locale);

// Renders a date pattern ("yyyy/m/d h:nn:ss", "c", ...). Pure; never throws; at most 256 bytes;
// defined for every TDateTime, fields out of their range included.
std::string FormatDateTime(std::string_view pattern, const TDateTime& when,
                           const TFormatSettings& settings);

// The "修改时间" text of a local time: the short date, then " " and the long time unless the
// time is exactly midnight. Pure.
std::string ModificationText(const TDateTime& when, const TFormatSettings& settings);

// The user's date and time settings as the system keeps them: on Windows its regional
// settings, read now; nullopt on Linux, where the window takes them from its locale data.
// Asks the system; never throws.
std::optional<TFormatSettings> SystemFormatSettings();

} // namespace engine
