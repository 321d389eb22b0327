#include "ui/window/regional_settings_watch.h"

#include <utility>

#include <QAbstractNativeEventFilter>
#include <QTimer>

#include "ui/window/platform_window.h"

TRegionalSettingsWatch::TRegionalSettingsWatch(QObject* parent)
    : QObject(parent), m_filter(WatchRegionalSettings(*this)) {}

TRegionalSettingsWatch::~TRegionalSettingsWatch() = default;

void TRegionalSettingsWatch::announce() {
    if (std::exchange(m_pending, true)) return;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        emit changed();
    });
}
