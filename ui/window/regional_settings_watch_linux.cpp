#include "ui/window/regional_settings_watch.h"

TRegionalSettingsWatch::TRegionalSettingsWatch(QObject* parent) : QObject(parent) {}
