#include "engine/platform/platform.h"

#include <langinfo.h>
#include <locale.h>

namespace engine::platform {
namespace {

std::string Text(locale_t locale, nl_item item) {
    const char* text = ::nl_langinfo_l(item, locale);
    return text ? text : "";
}

template <std::size_t N>
void ReadNames(locale_t locale, nl_item first, std::array<std::string, N>& names) {
    for (std::size_t i = 0; i < N; ++i) names[i] = Text(locale, first + static_cast<nl_item>(i));
}

} // namespace

TLocaleTexts ReadLocaleTexts() {
    TLocaleTexts texts;
    const locale_t locale = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (!locale) return texts;
    texts.LocaleName = Text(locale, _NL_LOCALE_NAME(LC_TIME));
    texts.DateFormat = Text(locale, D_FMT);
    texts.TimeFormat = Text(locale, T_FMT);
    texts.TimeFormatAmPm = Text(locale, T_FMT_AMPM);
    texts.AmText = Text(locale, AM_STR);
    texts.PmText = Text(locale, PM_STR);
    ReadNames(locale, MON_1, texts.MonthNames);
    ReadNames(locale, ABMON_1, texts.ShortMonthNames);
    ReadNames(locale, ALTMON_1, texts.AltMonthNames);
    ReadNames(locale, _NL_ABALTMON_1, texts.ShortAltMonthNames);
    ReadNames(locale, DAY_1, texts.DayNames);
    ReadNames(locale, ABDAY_1, texts.ShortDayNames);
    ::freelocale(locale);
    return texts;
}

} // namespace engine::platform
