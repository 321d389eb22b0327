#pragma once
// Tells the window when the user's regional settings may have changed. Windows announces a
// change of its "intl" settings (WM_SETTINGCHANGE) and a restarted shell ("TaskbarCreated");
// Linux announces nothing, and its settings are read once at start-up.

#include <memory>

#include <QAbstractNativeEventFilter>
#include <QObject>

class TRegionalSettingsWatch : public QObject {
    Q_OBJECT
public:
    explicit TRegionalSettingsWatch(QObject* parent = nullptr);
    ~TRegionalSettingsWatch() override;

    // Announces a change once the current event has been handled; several announcements
    // before that (one per top-level window) give one signal.
    void announce();

signals:
    void changed();

private:
    std::unique_ptr<QAbstractNativeEventFilter> m_filter; // none where nothing is announced
    bool m_pending = false;
};
