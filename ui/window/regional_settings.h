#pragma once
// The user's regional settings, taken from Qt's locale data (CLDR) for the LC_TIME locale.

#include <QLocale>
#include <QString>

#include "engine/engine.h"

// The name of the user's LC_TIME locale: LC_ALL, else LC_TIME, else LANG, an empty variable
// counting as unset; empty when none is set. Reads the environment.
QString TimeLocaleName();

// The date and time settings of `locale`; the C locale has none of its own and gives the
// defaults.
engine::TFormatSettings RegionalSettingsOf(const QLocale& locale);

// The settings of the user's LC_TIME locale. Reads the environment once per call.
engine::TFormatSettings ReadRegionalSettings();
