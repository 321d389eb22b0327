// Windows announces new regional settings with WM_SETTINGCHANGE "intl", and a restarted shell
// with the registered "TaskbarCreated": the window hears each as one change.
#include <windows.h>

#include <QAbstractEventDispatcher>
#include <QtTest>

#include "ui/window/regional_settings_watch.h"

class TRegionalSettingsWatchTest : public QObject {
    Q_OBJECT
private slots:
    void announcesTheSystemsChanges_data() {
        QTest::addColumn<QString>("message"); // a registered message's name, or WM_SETTINGCHANGE
        QTest::addColumn<QString>("area");    // WM_SETTINGCHANGE's area
        QTest::addColumn<int>("changes");
        QTest::newRow("regional settings") << QString() << "intl" << 1;
        QTest::newRow("another setting") << QString() << "Environment" << 0;
        QTest::newRow("a restarted shell") << "TaskbarCreated" << QString() << 1;
    }
    void announcesTheSystemsChanges() {
        QFETCH(QString, message);
        QFETCH(QString, area);
        QFETCH(int, changes);
        TRegionalSettingsWatch watch;
        QSignalSpy changed(&watch, &TRegionalSettingsWatch::changed);
        const std::wstring areaText = area.toStdWString();
        MSG msg{};
        msg.message = message.isEmpty() ? UINT(WM_SETTINGCHANGE)
                                        : RegisterWindowMessageW(message.toStdWString().c_str());
        msg.lParam = area.isEmpty() ? LPARAM(0) : reinterpret_cast<LPARAM>(areaText.c_str());
        // As Qt hands a window's messages to the filters; twice, as every top-level window gets
        // one: one change.
        qintptr result = 0;
        for (int window = 0; window < 2; ++window)
            QVERIFY(!QAbstractEventDispatcher::instance()->filterNativeEvent(
                QByteArrayLiteral("windows_generic_MSG"), &msg, &result));
        if (changes) QVERIFY(changed.wait(2000));
        for (int turn = 0; turn < 3; ++turn) // whatever else was posted is handled by now
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCOMPARE(changed.count(), changes);
    }
};

QTEST_MAIN(TRegionalSettingsWatchTest)
#include "regional_settings_watch_test_win.moc"
