#include "ui/window/regional_settings_watch.h"

#include <cwchar>

#include <windows.h>

#include <QCoreApplication>

namespace {

class TSettingMessages : public QAbstractNativeEventFilter {
public:
    explicit TSettingMessages(TRegionalSettingsWatch* watch)
        : m_watch(watch), m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {}

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* msg = static_cast<const MSG*>(message);
        const auto* area = reinterpret_cast<const wchar_t*>(msg->lParam);
        const bool intl =
            msg->message == WM_SETTINGCHANGE && area && std::wcscmp(area, L"intl") == 0;
        if (intl || (m_taskbarCreated != 0 && msg->message == m_taskbarCreated))
            m_watch->announce();
        return false; // Qt and the other windows still see the message
    }

private:
    TRegionalSettingsWatch* m_watch;
    UINT m_taskbarCreated;
};

} // namespace

TRegionalSettingsWatch::TRegionalSettingsWatch(QObject* parent)
    : QObject(parent), m_filter(std::make_unique<TSettingMessages>(this)) {
    QCoreApplication::instance()->installNativeEventFilter(m_filter.get());
}
