// Pixels of the button in each state against colours worked out by hand from the colour rules
// (Color #F4F4F0: H 40, L 228, S 37; the arithmetic is in color_rules_test.cpp).
#include <QtTest>

#include "ui/widgets/rz_bit_btn.h"

namespace {

QPalette FixedPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(10, 200, 10));
    palette.setColor(QPalette::Button, QColor(240, 240, 240));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    return palette;
}

} // namespace

class TRzBitBtnTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void paintsEdgeFrameAndFace();
    void fillsFlatWhilePressed();
    void ringsHotButtonUntilPointerLeaves();
    void ringsFocusedButtonWithDottedRect();

private:
    QRgb pixel(int x, int y) const { return m_parent->grab().toImage().pixel(10 + x, 10 + y); }

    QWidget* m_parent = nullptr;
    TRzBitBtn* m_button = nullptr;
};

void TRzBitBtnTest::init() {
    m_parent = new QWidget;
    m_parent->setPalette(FixedPalette());
    m_parent->setAutoFillBackground(true);
    m_parent->resize(100, 50);
    m_button = new TRzBitBtn(m_parent);
    m_button->setGeometry(10, 10, 75, 25);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent));
    m_button->clearFocus(); // the only focusable widget takes the focus on activation
}

void TRzBitBtnTest::cleanup() {
    delete m_parent;
}

void TRzBitBtnTest::paintsEdgeFrameAndFace() {
    QCOMPARE(pixel(0, 0), qRgb(10, 200, 10));     // cut corner shows the parent
    QCOMPARE(pixel(10, 0), qRgb(218, 218, 218));  // face 240 darkened 20: L 206 → 218
    QCOMPARE(pixel(10, 24), qRgb(255, 255, 255)); // lightened 20: L 246 → 261, capped
    QCOMPARE(pixel(1, 1), qRgb(10, 200, 10));     // the frame's corner is cut too
    QCOMPARE(pixel(10, 1), qRgb(0, 0, 0));        // frame
    QCOMPARE(pixel(10, 2), qRgb(255, 255, 255));  // Color lightened 30, capped
    QCOMPARE(pixel(10, 20), qRgb(235, 235, 228)); // Color darkened 10
    QCOMPARE(pixel(10, 21), qRgb(226, 226, 216)); // Color darkened 20
    QCOMPARE(pixel(10, 22), qRgb(217, 217, 204)); // Color darkened 30
    // Run row 10 of 19: 255 − 20·10/18 = 244, 255 − 27·10/18 = 240.
    QCOMPARE(pixel(36, 12), qRgb(244, 244, 240));
}

void TRzBitBtnTest::fillsFlatWhilePressed() {
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(30, 12));
    QVERIFY(m_button->isDown());
    QCOMPARE(pixel(10, 2), qRgb(235, 235, 228));
    QCOMPARE(pixel(36, 22), qRgb(235, 235, 228));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(30, 12));
    QVERIFY(m_button->hasFocus()); // the click took the focus: the focus ring replaces the fill
    QCOMPARE(pixel(10, 2), qRgb(220, 228, 252));
    QCOMPARE(pixel(36, 12), qRgb(244, 244, 240));
}

void TRzBitBtnTest::ringsHotButtonUntilPointerLeaves() {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(m_button, &enter);
    QVERIFY(m_button->isHot());
    // White blended with #FFC73C at 190: (255, 241, 205); the bottom row is #FFC73C itself.
    QCOMPARE(pixel(10, 2), qRgb(255, 241, 205));
    QCOMPARE(pixel(10, 22), qRgb(255, 199, 60));
    // Ring row 10 of 21: 241 − 42·10/20 = 220, 205 − 145·10/20 = 133.
    QCOMPARE(pixel(3, 12), qRgb(255, 220, 133));
    QCOMPARE(pixel(36, 12), qRgb(244, 244, 240));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_button, &leave);
    QCOMPARE(pixel(10, 2), qRgb(255, 255, 255));
}

void TRzBitBtnTest::ringsFocusedButtonWithDottedRect() {
    QApplication::setActiveWindow(m_parent);
    m_button->setFocus();
    QTRY_VERIFY(m_button->hasFocus());
    // #6A8DF4 with white at 60: (220, 228, 252). At 160: red (16960 + 24225)/255 = 161.5 →
    // 162, green 46785/255 = 183.5 → 183, blue 63265/255 = 248.1 → 248.
    QCOMPARE(pixel(10, 2), qRgb(220, 228, 252));
    QCOMPARE(pixel(10, 22), qRgb(162, 183, 248));
    // Dotted rectangle 3 pixels in: every second pixel from (3, 3); between the dots the
    // ring's row 1: 220 − 58/20 = 218, 228 − 45/20 = 226, 252 − 4/20 = 252.
    QCOMPARE(pixel(5, 3), qRgb(0, 0, 0));
    QCOMPARE(pixel(4, 3), qRgb(218, 226, 252));
}

QTEST_MAIN(TRzBitBtnTest)
#include "rz_bit_btn_test.moc"
