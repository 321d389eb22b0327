// The strip's groove and colour run, pixel by pixel, with a fixed palette.
#include <QtTest>

#include "ui/widgets/rz_panel.h"

class TRzPanelTest : public QObject {
    Q_OBJECT
private slots:
    void paintsGrooveAndVerticalRun();
};

void TRzPanelTest::paintsGrooveAndVerticalRun() {
    QPalette palette;
    palette.setColor(QPalette::Dark, QColor(160, 160, 160));
    palette.setColor(QPalette::Light, QColor(250, 250, 250));
    palette.setColor(QPalette::Base, QColor(255, 255, 255));
    palette.setColor(QPalette::Button, QColor(240, 240, 240));
    TRzPanel panel;
    panel.setPalette(palette);
    panel.resize(100, 45);
    const QImage image = panel.grab().toImage();
    const QRgb shadow = qRgb(160, 160, 160), highlight = qRgb(250, 250, 250);
    QCOMPARE(image.pixel(50, 0), shadow);     // outer top
    QCOMPARE(image.pixel(0, 20), shadow);     // outer left
    QCOMPARE(image.pixel(50, 44), highlight); // outer bottom
    QCOMPARE(image.pixel(99, 20), highlight); // outer right
    QCOMPARE(image.pixel(50, 1), highlight);  // inner top
    QCOMPARE(image.pixel(1, 20), highlight);  // inner left
    QCOMPARE(image.pixel(50, 43), shadow);    // inner bottom
    QCOMPARE(image.pixel(98, 20), shadow);    // inner right
    QCOMPARE(image.pixel(50, 2), qRgb(255, 255, 255));
    // Grey 240 darkened by 10: L 226 − 10 = 216 → 216·255/240 = 229.
    QCOMPARE(image.pixel(50, 42), qRgb(229, 229, 229));
    // Row 20 of the 41 inside: 255 − 26·20/40 = 242.
    QCOMPARE(image.pixel(50, 22), qRgb(242, 242, 242));
}

QTEST_MAIN(TRzPanelTest)
#include "rz_panel_test.moc"
