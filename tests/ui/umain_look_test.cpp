// How the window draws at the design resolution: group boxes, labels, status bar.
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QtTest>

#include "tests/ui/group_box_checks.h"
#include "tests/ui/offscreen_screen.h"
#include "tests/ui/window_fixture.h"
#include "ui/widgets/radio_group.h"
#include "ui/widgets/status_bar.h"
#include "ui/window/Umain.h"

class TFrmMainLookTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void drawsGroupBoxFramesThroughTheirCaptions();
    void keepsLabelsOneTextLineHigh();
    void drawsStatusBarAsOneLoweredPanel();
};

void TFrmMainLookTest::init() {
    m_namespace.emplace();
    QVERIFY(openWindow());
}

void TFrmMainLookTest::cleanup() {
    closeWindow();
}

void TFrmMainLookTest::drawsGroupBoxFramesThroughTheirCaptions() {
    VerifyStripGroupBoxes(*m_window);
    // 12-pixel captions: the frame's shadow line at 12 / 2 − 1 = 5, its highlight at 6.
    auto* box = m_window->findChild<TGroupBox*>(QStringLiteral("GroupBox1"));
    QCOMPARE(box->frameRect(), QRect(0, 5, 363, 36));
    QCOMPARE(box->captionRect().topLeft(), QPoint(8, 0));
    QCOMPARE(box->captionRect().height(), 12);
}

void TFrmMainLookTest::keepsLabelsOneTextLineHigh() {
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"})
        QCOMPARE(m_window->findChild<QLabel*>(QLatin1String(name))->height(), 12);
    QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("Label4"))->pos(), QPoint(152, 20));
    const QList<QRadioButton*> items =
        m_window->findChild<TRadioGroup*>(QStringLiteral("RadioGroup1"))
            ->findChildren<QRadioButton*>();
    for (const QRadioButton* item : items) {
        QCOMPARE(item->y(), 13);
        QCOMPARE(item->height(), 24);
    }
}

void TFrmMainLookTest::drawsStatusBarAsOneLoweredPanel() {
    auto* bar = m_window->findChild<TStatusBar*>(QStringLiteral("StatusBar1"));
    QVERIFY(bar);
    QCOMPARE(bar->panelRect(), QRect(0, 2, 863, 17));
    const QImage image = bar->grab().toImage();
    const QRgb shadow = bar->palette().color(QPalette::Dark).rgb();
    const QRgb highlight = bar->palette().color(QPalette::Light).rgb();
    QCOMPARE(image.pixel(100, 2), shadow);     // top
    QCOMPARE(image.pixel(0, 10), shadow);      // left
    QCOMPARE(image.pixel(100, 18), highlight); // bottom
    QCOMPARE(image.pixel(862, 10), highlight); // right
    // The credit line, and anything shown beside it later, lie inside the bevel.
    auto* progress = new QProgressBar(bar);
    bar->addWidget(progress);
    QTRY_VERIFY(progress->isVisible());
    const QRect inside = bar->panelRect().adjusted(1, 1, -1, -1);
    QVERIFY(inside.contains(bar->findChild<QLabel*>(QStringLiteral("StatusPanel"))->geometry()));
    QVERIFY(inside.contains(progress->geometry()));
}

int main(int argc, char* argv[]) {
    const TOffscreenScreen screen(1280, 800, 96);
    QApplication app(argc, argv);
    TFrmMainLookTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "umain_look_test.moc"
