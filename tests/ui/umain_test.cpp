#include <QGroupBox>
#include <QHeaderView>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "tests/ui/group_box_checks.h"
#include "tests/ui/offscreen_screen.h"
#include "tests/ui/window_fixture.h"
#include "ui/widgets/radio_group.h"
#include "ui/widgets/rz_bit_btn.h"
#include "ui/widgets/up_down.h"

class TFrmMainTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        m_namespace.emplace();
        SetErrorDisplay([](const QString&) {}); // a message box would block the test
        QVERIFY(openWindow());
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void cleanup() { closeWindow(); }

    void showsCaptionsAndDefaultsOnFirstShow() {
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

    void placesStripControlsApartInsideTheirBoxes() { VerifyStripGroupBoxes(*m_window); }

    void walksTabOrderAndWrapsAround() {
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

    // Clicked, one change a step and none at the bottom.
    void stepsUpDownByClickWithinRange() {
        QSignalSpy changes(edit("Edit1"), &QLineEdit::textChanged);
        for (const char* arrow : {"up", "down", "down", "down"})
            QTest::mouseClick(child<TUpDown>("UpDown1")->findChild<QToolButton*>(arrow),
                              Qt::LeftButton);
        QCOMPARE(edit("Edit1")->text(), QStringLiteral("0"));
        QCOMPARE(changes.count(), 3);
    }

    // Typed, then stepped by the arrow keys: within the range, and from the last position when
    // the edit holds no number.
    void stepsUpDownByArrowKeysWithinRange_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("steps"); // up when positive
        QTest::addColumn<QString>("stepped");
        QTest::newRow("down to the bottom") << QStringLiteral("Edit1") << "1" << -2 << "0";
        QTest::newRow("up to the top") << QStringLiteral("Edit6") << "99" << 2 << "100";
        QTest::newRow("no number: up from the last") << QStringLiteral("Edit2") << "x" << 1 << "5";
        QTest::newRow("beyond the top: down") << QStringLiteral("Edit2") << "250" << -1 << "99";
    }
    void stepsUpDownByArrowKeysWithinRange() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(int, steps);
        QLineEdit* line = this->edit(qPrintable(edit));
        line->setFocus();
        line->selectAll();
        QTest::keyClicks(line, typed);
        for (int step = 0; step < std::abs(steps); ++step)
            QTest::keyClick(line, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        QTEST(line->text(), "stepped");
    }

    void marksRenameTypeWithClampedIndex() {
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

    void keepsLayoutRulesWhenMaximisedAndTakesBackResize() {
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
        // Restored, the window takes back any resize.
        m_window->resize(1000, 700);
        QTRY_COMPARE(m_window->size(), QSize(863, 494));
        QCOMPARE(child<QWidget>("RzPanel1")->geometry(), QRect(0, 430, 863, 45));
    }

    void enterInEditPressesNoButton() {
        QSignalSpy apply(child<TRzBitBtn>("RzBitBtn1"), &TRzBitBtn::clicked);
        QSignalSpy close(child<TRzBitBtn>("RzBitBtn4"), &TRzBitBtn::clicked);
        QLineEdit* edit3 = edit("Edit3");
        edit3->setFocus();
        QTest::keyClick(edit3, Qt::Key_Return);
        QTest::keyClick(edit3, Qt::Key_Escape);
        QCOMPARE(apply.count() + close.count(), 0);
        QVERIFY(m_window->isVisible());
    }

    void enterOnTheFocusedButtonClicksIt_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        for (const char* button : {"RzBitBtn4", "RzBitBtn1"}) {
            QTest::addRow("%s, Return", button)
                << button << Qt::Key_Return << Qt::KeyboardModifiers();
            QTest::addRow("%s, keypad Enter", button)
                << button << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
        }
        QTest::newRow("RzBitBtn4, Space, as before")
            << "RzBitBtn4" << Qt::Key_Space << Qt::KeyboardModifiers();
    }
    // Close closes; apply applies, its names are window_work_test's and undo_controller_test's.
    void enterOnTheFocusedButtonClicksIt() {
        QFETCH(QString, button);
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        auto* pressed = child<TRzBitBtn>(qPrintable(button));
        QSignalSpy clicked(pressed, &TRzBitBtn::clicked);
        pressed->setFocus();
        QTest::keyClick(pressed, key, modifiers);
        QCOMPARE(clicked.count(), 1);
        QTRY_COMPARE(m_window->isVisible(), button != QStringLiteral("RzBitBtn4"));
    }

    void editsKeepTextOfAnyLength() {
        const QString longText(40000, QLatin1Char('x'));
        for (const char* name : {"Edit1", "Edit3", "Edit6"}) {
            edit(name)->setText(longText);
            QCOMPARE(edit(name)->text().size(), 40000);
        }
    }

    void closesByCloseButtonEndingTheLoopWithZero() {
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(5000);
        QTimer::singleShot(0, m_window, [this] {
            QTest::mouseClick(child<TRzBitBtn>("RzBitBtn4"), Qt::LeftButton);
        });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!m_window->isVisible());
    }

private:
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
};

int main(int argc, char* argv[]) {
    // The offscreen platform's default screen (800 × 600) is narrower than the window; a
    // maximised window needs room to grow.
    const TOffscreenScreen screen(1280, 800, 96);
    QApplication app(argc, argv);
    TFrmMainTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "umain_test.moc"
