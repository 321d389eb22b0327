#include "ui/window/regional_settings.h"

#include <optional>
#include <utility>

#include <QtGlobal>

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

engine::TLocaleConventions ConventionsOf(const QLocale& locale) {
    engine::TLocaleConventions conventions;
    conventions.ShortDateFormat = Utf8(locale.dateFormat(QLocale::ShortFormat));
    conventions.LongDateFormat = Utf8(locale.dateFormat(QLocale::LongFormat));
    conventions.LongTimeFormat = Utf8(locale.timeFormat(QLocale::LongFormat));
    conventions.AmText = Utf8(locale.amText());
    conventions.PmText = Utf8(locale.pmText());
    for (int month = 1; month <= 12; ++month) {
        const auto at = static_cast<std::size_t>(month - 1);
        conventions.LongMonthNames[at] = Utf8(locale.standaloneMonthName(month));
        conventions.ShortMonthNames[at] =
            Utf8(locale.standaloneMonthName(month, QLocale::ShortFormat));
    }
    // Qt counts the days from Monday (1) to Sunday (7); the settings start on Sunday.
    for (int day = 0; day < 7; ++day) {
        const int qtDay = day == 0 ? 7 : day;
        const auto at = static_cast<std::size_t>(day);
        conventions.LongDayNames[at] = Utf8(locale.dayName(qtDay));
        conventions.ShortDayNames[at] = Utf8(locale.dayName(qtDay, QLocale::ShortFormat));
    }
    return conventions;
}

} // namespace

QString TimeLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"})
        if (const QString name = qEnvironmentVariable(variable); !name.isEmpty()) return name;
    return {};
}

engine::TFormatSettings RegionalSettingsOf(const QLocale& locale) {
    if (locale.language() == QLocale::C) return {};
    return engine::FormatSettingsFromLocale(ConventionsOf(locale));
}

engine::TFormatSettings ReadRegionalSettings() {
    if (std::optional<engine::TFormatSettings> system = engine::SystemFormatSettings())
        return std::move(*system);
    return RegionalSettingsOf(QLocale(TimeLocaleName()));
}
