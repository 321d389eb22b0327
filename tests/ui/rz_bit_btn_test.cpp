// The button's states as the user sees them: each looks unlike the resting button, and the
// hot ring goes when the pointer leaves.
#include <QtTest>

#include "ui/widgets/rz_bit_btn.h"

class TRzBitBtnTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_parent = new QWidget;
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(10, 200, 10));
        m_parent->setPalette(palette);
        m_parent->setAutoFillBackground(true);
        m_parent->resize(100, 50);
        m_button = new TRzBitBtn(m_parent);
        m_button->setGeometry(10, 10, 75, 25);
        m_parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_parent));
        m_button->clearFocus(); // the only focusable widget takes the focus on activation
    }

    void cleanup() { delete m_parent; }

    void cutsItsCornersToTheParent() {
        const QImage shown = m_parent->grab().toImage();
        QCOMPARE(shown.pixel(10, 10), qRgb(10, 200, 10));
        QVERIFY(shown.pixel(20, 20) != qRgb(10, 200, 10));
    }

    void drawsPressedHotAndFocusedApart() {
        const QImage resting = image();
        QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(30, 12));
        QVERIFY(m_button->isDown());
        const QImage pressed = image();
        QVERIFY(pressed != resting);
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(30, 12));
        QVERIFY(m_button->hasFocus()); // the click took the focus: the focus ring replaces the fill
        const QImage focused = image();
        QVERIFY(focused != resting && focused != pressed);
        m_button->clearFocus();
        QTRY_COMPARE(image(), resting);

        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(m_button, &enter);
        QVERIFY(m_button->isHot());
        const QImage hot = image();
        QVERIFY(hot != resting && hot != focused && hot != pressed);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(m_button, &leave);
        QCOMPARE(image(), resting);
    }

private:
    QImage image() const { return m_button->grab().toImage(); }

    QWidget* m_parent = nullptr;
    TRzBitBtn* m_button = nullptr;
};

QTEST_MAIN(TRzBitBtnTest)
#include "rz_bit_btn_test.moc"
