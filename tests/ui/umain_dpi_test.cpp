// The window on a 120 dpi screen with Qt's own scaling off: the font grows to 12·120/96 = 15
// pixels and every design length by 15/12.
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "tests/ui/group_box_checks.h"
#include "tests/ui/offscreen_screen.h"
#include "tests/ui/temp_namespace.h"
#include "ui/window/Umain.h"

class TFrmMainDpiTest : public QObject {
    Q_OBJECT
private slots:
    void scalesFontAndLayoutByTextHeight();
};

void TFrmMainDpiTest::scalesFontAndLayoutByTextHeight() {
    const TTempNamespace shellNamespace;
    TFrmMain window;
    QCOMPARE(window.logicalDpiY(), 120);
    QCOMPARE(window.font().pixelSize(), 15);
    // 863·15/12 = 1078.75 → 1078; 494·15/12 = 617.5 → 617.
    QCOMPARE(window.size(), QSize(1078, 617));
    // Tree 217·15/12 = 271; strip 45·15/12 = 56 and status bar 19·15/12 = 23 high.
    QCOMPARE(window.findChild<QWidget*>("ShellTreeView1")->geometry(),
             QRect(0, 0, 271, 617 - 56 - 23));
    QCOMPARE(window.findChild<QWidget*>("RzPanel1")->geometry(), QRect(0, 538, 1078, 56));
    // Edit1 at (32, 16) 25 × 20 → (40, 20) 31 × 25; the close button at 784 → 980.
    QCOMPARE(window.findChild<QLineEdit*>("Edit1")->geometry(), QRect(40, 20, 31, 25));
    QCOMPARE(window.findChild<QWidget*>("RzBitBtn4")->geometry(), QRect(980, 13, 93, 31));
    // Radio columns (235 − 10) div 4 = 56 from x 8; row top 15 + 1, height 51 − 15 − 5.
    const QList<QRadioButton*> items =
        window.findChild<QWidget*>("RadioGroup1")->findChildren<QRadioButton*>();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[2]->geometry(), QRect(8 + 56 * 2, 16, 56, 31));
    // 15-pixel captions: the frame's line at 15 / 2 − 1 = 6, the controls inside it.
    QCOMPARE(window.findChild<TGroupBox*>("GroupBox2")->frameRect().top(), 6);
    QCOMPARE(window.findChild<QWidget*>("Label6")->height(), 15);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    VerifyStripGroupBoxes(window);
}

int main(int argc, char* argv[]) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    const TOffscreenScreen screen(1920, 1080, 120);
    QApplication app(argc, argv);
    TFrmMainDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "umain_dpi_test.moc"
