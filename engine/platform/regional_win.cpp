// The user's regional date and time settings, read from Windows.
#include "engine/platform/platform.h"

#include <windows.h>

#include "engine/platform/wide_win.h"

namespace engine::platform {
namespace {

constexpr int TextBuffer = 256;
constexpr int CharacterBuffer = 2; // one character and its terminator: longer values fail

std::optional<std::string> Read(LCTYPE type, int bufferSize = TextBuffer) {
    wchar_t value[TextBuffer];
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, value, bufferSize) == 0)
        return std::nullopt;
    return Narrow(value);
}

template <std::size_t Count>
void ReadNames(std::array<std::optional<std::string>, Count>& names, LCTYPE first) {
    for (std::size_t i = 0; i < Count; ++i)
        names[i] = Read(first + static_cast<LCTYPE>(i));
}

bool IsChineseJapaneseOrKorean() {
    wchar_t language[16];
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SISO639LANGNAME, language, 16) == 0)
        return false;
    const std::wstring_view name = language;
    return name == L"zh" || name == L"ja" || name == L"ko";
}

} // namespace

std::optional<TRegionalValues> RegionalValues() {
    TRegionalValues values;
    values.ShortDate = Read(LOCALE_SSHORTDATE);
    values.LongDate = Read(LOCALE_SLONGDATE);
    values.DateSeparator = Read(LOCALE_SDATE, CharacterBuffer);
    values.TimeSeparator = Read(LOCALE_STIME, CharacterBuffer);
    values.AmText = Read(LOCALE_S1159);
    values.PmText = Read(LOCALE_S2359);
    values.HourLeadingZero = Read(LOCALE_ITLZERO);
    values.Clock = Read(LOCALE_ITIME);
    values.AmPmPosition = Read(LOCALE_ITIMEMARKPOSN);
    values.CalendarType = Read(LOCALE_ICALENDARTYPE);
    ReadNames(values.LongMonthNames, LOCALE_SMONTHNAME1);
    ReadNames(values.ShortMonthNames, LOCALE_SABBREVMONTHNAME1);
    ReadNames(values.LongDayNames, LOCALE_SDAYNAME1);
    ReadNames(values.ShortDayNames, LOCALE_SABBREVDAYNAME1);
    values.ChineseJapaneseOrKorean = IsChineseJapaneseOrKorean();
    return values;
}

} // namespace engine::platform
