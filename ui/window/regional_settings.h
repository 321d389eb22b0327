#pragma once
// The user's regional settings: Windows' own, or on Linux those of Qt's locale data (CLDR) for
// the LC_TIME locale.

#include <QLocale>
#include <QString>

#include "engine/engine.h"

// The name of the user's LC_TIME locale: LC_ALL, else LC_TIME, else LANG, an empty variable
// counting as unset; empty when none is set. Reads the environment.
QString TimeLocaleName();

// The date and time settings of `locale`; the C locale has none of its own and gives the
// defaults.
engine::TFormatSettings RegionalSettingsOf(const QLocale& locale);

// The user's settings: on Windows the system's regional settings; elsewhere those of the
// LC_TIME locale. Reads the system or the environment once per call.
engine::TFormatSettings ReadRegionalSettings();
