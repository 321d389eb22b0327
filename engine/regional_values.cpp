// The date and time settings Windows' regional values give.
#include "engine/regional_settings.h"

#include <cstdint>

namespace engine {
namespace {

bool IsLetter(char c, char lower) {
    return c == lower || c == lower - 'a' + 'A';
}

std::int32_t NumberOf(const std::optional<std::string>& text, std::int32_t fallback,
                      std::int32_t unreadable) {
    if (!text) return unreadable;
    try {
        return ParseSettingsInteger(*text);
    } catch (const TError&) {
        return fallback;
    }
}

// A separator holds exactly one character; one that is not ASCII does not fit the settings.
void TakeSeparator(const std::optional<std::string>& text, char& separator) {
    if (text && text->size() == 1 && static_cast<unsigned char>((*text)[0]) < 0x80)
        separator = (*text)[0];
}

void TakeText(const std::optional<std::string>& text, std::string& setting) {
    if (text) setting = *text;
}

void TakeName(const std::optional<std::string>& name, std::string& setting) {
    if (name && !name->empty()) setting = *name;
}

std::string LongTimePattern(const TRegionalValues& values, bool withSeconds) {
    const std::string hour = NumberOf(values.HourLeadingZero, 0, 0) == 0 ? "h" : "hh";
    const std::string time = hour + (withSeconds ? ":mm:ss" : ":mm");
    if (NumberOf(values.Clock, 0, 0) != 0) return time;
    return NumberOf(values.AmPmPosition, 0, 0) != 0 ? "AMPM " + time : time + " AMPM";
}

} // namespace

std::string AdjustEra(std::string_view pattern, int calendarType, bool chineseJapaneseOrKorean) {
    std::string adjusted;
    const bool eraYears = calendarType >= 3 && calendarType <= 5;
    for (std::size_t at = 0; at < pattern.size();) {
        const char c = pattern[at];
        const auto run = [&](char lower) {
            std::size_t length = 0;
            while (at + length < pattern.size() && IsLetter(pattern[at + length], lower))
                ++length;
            return length;
        };
        if (eraYears && IsLetter(c, 'g') && run('g') >= 2) {
            adjusted += "ggg";
            at += 2;
        } else if (eraYears && IsLetter(c, 'y')) {
            const std::size_t length = run('y') >= 4 ? 4 : run('y') >= 2 ? 2 : 1;
            adjusted.append(length, 'e');
            at += length;
        } else if (!eraYears && chineseJapaneseOrKorean && IsLetter(c, 'g')) {
            ++at;
        } else {
            adjusted += c;
            ++at;
        }
    }
    return adjusted;
}

TFormatSettings FormatSettingsFromRegionalValues(const TRegionalValues& values) {
    TFormatSettings settings;
    const std::int32_t calendar = NumberOf(values.CalendarType, 1, 1);
    const bool cjk = values.ChineseJapaneseOrKorean;
    if (values.ShortDate) settings.ShortDatePattern = AdjustEra(*values.ShortDate, calendar, cjk);
    if (values.LongDate) settings.LongDatePattern = AdjustEra(*values.LongDate, calendar, cjk);
    TakeSeparator(values.DateSeparator, settings.DateSeparator);
    TakeSeparator(values.TimeSeparator, settings.TimeSeparator);
    TakeText(values.AmText, settings.TimeAMString);
    TakeText(values.PmText, settings.TimePMString);
    settings.LongTimePattern = LongTimePattern(values, true);
    settings.ShortTimePattern = LongTimePattern(values, false);
    for (std::size_t i = 0; i < 12; ++i) {
        TakeName(values.LongMonthNames[i], settings.LongMonthNames[i]);
        TakeName(values.ShortMonthNames[i], settings.ShortMonthNames[i]);
    }
    for (std::size_t i = 0; i < 7; ++i) { // the system's seventh day is Sunday
        TakeName(values.LongDayNames[i], settings.LongDayNames[(i + 1) % 7]);
        TakeName(values.ShortDayNames[i], settings.ShortDayNames[(i + 1) % 7]);
    }
    return settings;
}

} // namespace engine
