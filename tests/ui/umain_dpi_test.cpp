// The window on a 120 dpi screen with Qt's own scaling off: the font grows to 12·120/96 = 15
// pixels and every design length by 15/12.
#include <QtTest>

#include "tests/ui/group_box_checks.h"
#include "tests/ui/offscreen_screen.h"
#include "tests/ui/window_fixture.h"

class TFrmMainDpiTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void scalesFontAndLayoutByTextHeight() {
        m_namespace.emplace();
        QVERIFY(openWindow());
        const TFrmMain& window = *m_window;
        QCOMPARE(window.logicalDpiY(), 120);
        QCOMPARE(window.font().pixelSize(), 15);
        // 863·15/12 = 1078.75 → 1078; 494·15/12 = 617.5 → 617.
        QCOMPARE(window.size(), QSize(1078, 617));
        // The strip's close button, at 784 × 11 in 75 × 25: (980, 13) in 93 × 31.
        QCOMPARE(window.findChild<QWidget*>("RzBitBtn4")->geometry(), QRect(980, 13, 93, 31));
        VerifyStripGroupBoxes(window);
        closeWindow();
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    const TOffscreenScreen screen(1920, 1080, 120);
    QApplication app(argc, argv);
    TFrmMainDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "umain_dpi_test.moc"
