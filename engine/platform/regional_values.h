#pragma once
// The user's regional values as Windows keeps them, read by the platform as they are; the
// engine makes date and time settings of them.

#include <array>
#include <optional>
#include <string>

namespace engine {

// The regional values Windows gives (GetLocaleInfoEx), each as text; nullopt when the call
// failed. Names are in the system's order: months January first, days Monday first.
struct TRegionalValues {
    std::optional<std::string> ShortDate, LongDate; // LOCALE_SSHORTDATE, LOCALE_SLONGDATE
    std::optional<std::string> DateSeparator;       // LOCALE_SDATE
    std::optional<std::string> TimeSeparator;       // LOCALE_STIME
    std::optional<std::string> AmText, PmText;      // LOCALE_S1159, LOCALE_S2359
    std::optional<std::string> HourLeadingZero;     // LOCALE_ITLZERO
    std::optional<std::string> Clock;               // LOCALE_ITIME: "0" is the 12-hour clock
    std::optional<std::string> AmPmPosition;        // LOCALE_ITIMEMARKPOSN: "0" puts it after
    std::optional<std::string> CalendarType;        // LOCALE_ICALENDARTYPE
    std::array<std::optional<std::string>, 12> LongMonthNames, ShortMonthNames;
    std::array<std::optional<std::string>, 7> LongDayNames, ShortDayNames; // Monday first
    bool ChineseJapaneseOrKorean = false; // the locale's primary language
};

} // namespace engine
