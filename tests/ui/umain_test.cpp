#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "tests/ui/group_box_checks.h"
#include "tests/ui/offscreen_screen.h"
#include "tests/ui/window_fixture.h"
#include "ui/common/error_display.h"
#include "ui/widgets/radio_group.h"
#include "ui/widgets/rz_bit_btn.h"
#include "ui/widgets/up_down.h"
#include "ui/window/Umain.h"

class TFrmMainTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsCaptionsAndDefaultsOnFirstShow();
    void placesStripControlsApartInsideTheirBoxes();
    void walksTabOrderAndWrapsAround();
    void stepsUpDownByClickAndArrowKeysWithinRange();
    void stepsFromLastPositionWhenEditHoldsNoNumber();
    void marksRenameTypeWithClampedIndex();
    void keepsLayoutRulesWhenMaximised();
    void takesBackResizeOfNormalWindow();
    void enterInEditPressesNoButton();
    void enterOnTheFocusedCloseButtonCloses_data();
    void enterOnTheFocusedCloseButtonCloses();
    void editsKeepTextOfAnyLength();
    void closesByCloseButtonEndingTheLoopWithZero();

private:
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
};

void TFrmMainTest::init() {
    m_namespace.emplace();
    SetErrorDisplay([](const QString&) {}); // a message box would block the test
    QVERIFY(openWindow());
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TFrmMainTest::cleanup() {
    closeWindow();
}

void TFrmMainTest::showsCaptionsAndDefaultsOnFirstShow() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Zelvora 2011"));
    QCOMPARE(m_window->size(), QSize(863, 494));
    const QStringList texts{"1", "4", "A-", " ", "1", "4"};
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(edit(qPrintable(QStringLiteral("Edit%1").arg(i + 1)))->text(), texts[i]);
    auto* label3 = child<QLabel>("Label3");
    QCOMPARE(label3->text(), QStringLiteral("例：A-0001 "));
    QCOMPARE(label3->palette().color(label3->foregroundRole()), QColor(Qt::red));
    QVERIFY(child<QLabel>("Label1")->palette().color(QPalette::WindowText) != QColor(Qt::red));
    auto* group = child<TRadioGroup>("RadioGroup1");
    QCOMPARE(group->itemIndex(), 0);
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0]->text(), QStringLiteral("前缀"));
    QVERIFY(items[0]->isChecked());
    QCOMPARE(child<TRzBitBtn>("RzBitBtn4")->text(), QStringLiteral("关闭"));
    QVERIFY(!child<TRzBitBtn>("RzBitBtn4")->icon().isNull());
    QCOMPARE(child<TRzBitBtn>("RzBitBtn1")->text(), QStringLiteral("应用改名"));
    QVERIFY(child<TRzBitBtn>("RzBitBtn1")->icon().isNull());
    QCOMPARE(child<QGroupBox>("GroupBox2")->title(), QStringLiteral("删除字符"));
    auto* list = child<QTreeView>("ListView1");
    QCOMPARE(list->model()->rowCount(), 0);
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("旧名称"));
    QVERIFY(!child<QStatusBar>("StatusBar1")->isSizeGripEnabled());
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("ShellTreeView1"));
}

void TFrmMainTest::placesStripControlsApartInsideTheirBoxes() {
    VerifyStripGroupBoxes(*m_window);
}

void TFrmMainTest::walksTabOrderAndWrapsAround() {
    const char* order[] = {"ShellTreeView1", "RzBitBtn4", "RadioGroup1", "Edit1",
                           "Edit2",          "Edit3",     "Edit4",       "RzBitBtn1",
                           "Edit5",          "Edit6",     "ListView1",   "ShellTreeView1"};
    child<QWidget>("ShellTreeView1")->setFocus();
    for (const char* name : order) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QCOMPARE(focus->objectName(), QString::fromLatin1(name));
        QTest::keyClick(focus, Qt::Key_Tab);
    }
}

void TFrmMainTest::stepsUpDownByClickAndArrowKeysWithinRange() {
    QLineEdit* edit1 = edit("Edit1");
    QSignalSpy changes(edit1, &QLineEdit::textChanged);
    auto* up = child<TUpDown>("UpDown1")->findChild<QToolButton*>(QStringLiteral("up"));
    auto* down = child<TUpDown>("UpDown1")->findChild<QToolButton*>(QStringLiteral("down"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(edit1->text(), QStringLiteral("2"));
    QCOMPARE(changes.count(), 1);
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(edit1->text(), QStringLiteral("0"));
    edit1->setFocus();
    QTest::keyClick(edit1, Qt::Key_Down);
    QCOMPARE(edit1->text(), QStringLiteral("0"));
    QTest::keyClick(edit1, Qt::Key_Up);
    QCOMPARE(edit1->text(), QStringLiteral("1"));

    QLineEdit* edit6 = edit("Edit6");
    edit6->setFocus();
    edit6->selectAll();
    QTest::keyClicks(edit6, QStringLiteral("99"));
    QTest::keyClick(edit6, Qt::Key_Up);
    QTest::keyClick(edit6, Qt::Key_Up);
    QCOMPARE(edit6->text(), QStringLiteral("100"));
    QCOMPARE(child<TUpDown>("UpDown4")->position(), 100);
}

void TFrmMainTest::stepsFromLastPositionWhenEditHoldsNoNumber() {
    QLineEdit* edit2 = edit("Edit2");
    edit2->setFocus();
    edit2->selectAll();
    QTest::keyClicks(edit2, QStringLiteral("x"));
    QTest::keyClick(edit2, Qt::Key_Up);
    QCOMPARE(edit2->text(), QStringLiteral("5"));
    edit2->selectAll();
    QTest::keyClicks(edit2, QStringLiteral("250"));
    QTest::keyClick(edit2, Qt::Key_Down);
    QCOMPARE(edit2->text(), QStringLiteral("99"));
}

void TFrmMainTest::marksRenameTypeWithClampedIndex() {
    auto* group = child<TRadioGroup>("RadioGroup1");
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    group->setFocus();
    QTest::keyClick(group, Qt::Key_Right);
    QCOMPARE(group->itemIndex(), 1);
    QVERIFY(items[1]->isChecked() && !items[0]->isChecked());
    QTest::mouseClick(items[3], Qt::LeftButton);
    QCOMPARE(group->itemIndex(), 3);
    group->setItemIndex(9);
    QCOMPARE(group->itemIndex(), 3);
    group->setItemIndex(-4);
    QCOMPARE(group->itemIndex(), -1);
    for (QRadioButton* item : items)
        QVERIFY(!item->isChecked());
}

void TFrmMainTest::keepsLayoutRulesWhenMaximised() {
    m_window->showMaximized();
    QTRY_VERIFY(m_window->width() > 863 && m_window->height() > 494);
    const int w = m_window->width(), h = m_window->height();
    QCOMPARE(child<QWidget>("ShellTreeView1")->geometry(), QRect(0, 0, 217, h - 64));
    QCOMPARE(child<QWidget>("ListView1")->geometry(), QRect(217, 0, w - 217, h - 64));
    QCOMPARE(child<QWidget>("RzPanel1")->geometry(), QRect(0, h - 64, w, 45));
    QCOMPARE(child<QWidget>("StatusBar1")->geometry(), QRect(0, h - 19, w, 19));
    QCOMPARE(child<QWidget>("RzBitBtn4")->geometry(), QRect(784, 11, 75, 25));
    QCOMPARE(child<QWidget>("RadioGroup1")->pos(), QPoint(3, 1));
    m_window->showNormal();
    QTRY_COMPARE(m_window->size(), QSize(863, 494));
    QCOMPARE(child<QWidget>("ListView1")->geometry(), QRect(217, 0, 646, 430));
}

void TFrmMainTest::takesBackResizeOfNormalWindow() {
    m_window->resize(1000, 700);
    QTRY_COMPARE(m_window->size(), QSize(863, 494));
    QCOMPARE(child<QWidget>("RzPanel1")->geometry(), QRect(0, 430, 863, 45));
}

void TFrmMainTest::enterInEditPressesNoButton() {
    QSignalSpy apply(child<TRzBitBtn>("RzBitBtn1"), &TRzBitBtn::clicked);
    QSignalSpy close(child<TRzBitBtn>("RzBitBtn4"), &TRzBitBtn::clicked);
    QLineEdit* edit3 = edit("Edit3");
    edit3->setFocus();
    QTest::keyClick(edit3, Qt::Key_Return);
    QTest::keyClick(edit3, Qt::Key_Escape);
    QCOMPARE(apply.count() + close.count(), 0);
    QVERIFY(m_window->isVisible());
}

void TFrmMainTest::enterOnTheFocusedCloseButtonCloses_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Return") << Qt::Key_Return << Qt::KeyboardModifiers();
    QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("Space, as before") << Qt::Key_Space << Qt::KeyboardModifiers();
}

void TFrmMainTest::enterOnTheFocusedCloseButtonCloses() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    auto* close = child<TRzBitBtn>("RzBitBtn4");
    QSignalSpy clicked(close, &TRzBitBtn::clicked);
    close->setFocus();
    QTest::keyClick(close, key, modifiers);
    QCOMPARE(clicked.count(), 1);
    QTRY_VERIFY(!m_window->isVisible());
}

void TFrmMainTest::editsKeepTextOfAnyLength() {
    const QString longText(40000, QLatin1Char('x'));
    for (const char* name : {"Edit1", "Edit3", "Edit6"}) {
        edit(name)->setText(longText);
        QCOMPARE(edit(name)->text().size(), 40000);
    }
}

void TFrmMainTest::closesByCloseButtonEndingTheLoopWithZero() {
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    QTimer::singleShot(
        0, m_window, [this] { QTest::mouseClick(child<TRzBitBtn>("RzBitBtn4"), Qt::LeftButton); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_window->isVisible());
}

int main(int argc, char* argv[]) {
    // The offscreen platform's default screen (800 × 600) is narrower than the window; a
    // maximised window needs room to grow.
    const TOffscreenScreen screen(1280, 800, 96);
    QApplication app(argc, argv);
    TFrmMainTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "umain_test.moc"
