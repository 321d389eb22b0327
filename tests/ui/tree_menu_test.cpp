// The folder tree's context menu and label rename as both platforms have them: the menu's
// target and position, and renaming through the "rename" verb and through the label. On
// Windows the menu is the shell's own, shown to the test as a QMenu of its commands.

#include "tree_menu_fixture.h"

class TTreeMenuTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
private slots:
    void init() { startTree({"B1/x", "a2/child1", "a2/child2", "a10"}); }
    void cleanup() { stopTree(); }

    void rightClickOpensTheTargetsMenuAndLeavesTheSelection() {
        rightClick(node("B1"), {});
        QCOMPARE(m_menu.shown, 1);
        QCOMPARE(m_menu.path, bytes(desk("B1")));
        QCOMPARE(tree().currentItem(), top());
        QCOMPARE(tree().rightClickTarget(), nullptr);
        QCOMPARE(m_host->changedPaths.size(), 1u); // the start-up selection only
        QVERIFY(tree().hasFocus());
        const QPoint beside(5, tree().viewport()->height() - 5);
        QVERIFY(!tree().itemAt(beside));
        rightClick(nullptr, {}, beside);
        QCOMPARE(m_menu.shown, 2);
        QCOMPARE(m_menu.path, bytes(desk()));
        QCOMPARE(tree().selectedPath(), bytes(desk()));
    }

    void keyboardOpensTheSelectedNodesMenuAtItsLabel() {
        select(node("B1"));
        QTest::keyClick(&tree(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(m_menu.shown, 1);
        QCOMPARE(m_menu.path, bytes(desk("B1")));
        select(node("a10"));
        menuKey({});
        QCOMPARE(m_menu.shown, 2);
        QCOMPARE(m_menu.path, bytes(desk("a10")));
        const QRect row = tree().visualItemRect(node("a10"));
        const QPoint at = tree().viewport()->mapFromGlobal(m_menu.at);
        QCOMPARE(at.y(), row.center().y());
        QVERIFY(at.x() > row.left() && at.x() < row.center().x());
    }

    void renamesThroughTheMenuAndThroughTheLabel() {
        rightClick(node("B1"), "rename");
        QVERIFY(labelEditor());
        labelEditor()->setText(QStringLiteral("新名"));
        QTest::keyClick(labelEditor(), Qt::Key_Return);
        QTRY_VERIFY(node("新名"));
        QVERIFY(QFile::exists(desk("新名/x")));
        QVERIFY(!QFile::exists(desk("B1")));

        QTreeWidgetItem* a2 = node("a2");
        select(a2);
        const auto listed = m_host->changedPaths;
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {},
                          tree().visualItemRect(a2).center());
        QTRY_VERIFY(labelEditor());
        labelEditor()->selectAll();
        QTest::keyClicks(labelEditor(), "a3");
        QTest::keyClick(labelEditor(), Qt::Key_Enter);
        QTRY_COMPARE(a2->text(0), "a3");
        QCOMPARE(tree().selectedPath(), bytes(desk("a3")));
        QCOMPARE(m_host->changedPaths, listed); // the folder listed, renamed, raises no change
        a2->setExpanded(true); // the renamed node enumerates the folder under its new name
        QCOMPARE(Labels(a2), QStringList({"child1", "child2"}));
        QCOMPARE(m_errors, QStringList());
    }

    // Refused, a rename keeps the label and says why; Esc and an unchanged label say nothing.
    void refusedRenamesKeepTheLabelAndSayWhy_data() {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<int>("key");
        QTest::newRow("taken by a folder") << "a10" << int(Qt::Key_Return);
        QTest::newRow("taken by a file") << "file.txt" << int(Qt::Key_Return);
        QTest::newRow("empty") << "" << int(Qt::Key_Return);
        QTest::newRow("a path") << "a10/inner" << int(Qt::Key_Return);
        QTest::newRow("dot dot") << ".." << int(Qt::Key_Return);
        QTest::newRow("escape") << "zzz" << int(Qt::Key_Escape);
        QTest::newRow("unchanged") << "B1" << int(Qt::Key_Return);
    }
    void refusedRenamesKeepTheLabelAndSayWhy() {
        QFETCH(QString, newName);
        QFETCH(int, key);
        Write(desk("B1/x/kept"), "B1's");
        Write(desk("a10/kept"), "a10's");
        Write(desk("file.txt"), "file");
        const bool existed = QFile::exists(desk(newName));
        rightClick(node("B1"), "rename");
        labelEditor()->setText(newName);
        QTest::keyClick(labelEditor(), Qt::Key(key));
        const bool said = key == Qt::Key_Return && newName != "B1";
        QTRY_COMPARE(m_errors,
                     said ? QStringList{"Rename to " + newName + " failed."} : QStringList());
        QTRY_VERIFY(!labelEditor() || said);
        QVERIFY(node("B1"));
        QCOMPARE(QFile::exists(desk(newName)), existed);
        QCOMPARE(Read(desk("B1/x/kept")), "B1's");
        QCOMPARE(Read(desk("a10/kept")), "a10's");
        QCOMPARE(Read(desk("file.txt")), "file");
        QVERIFY(!TShellTreeNodes::renameItem(TShellTreeNodes::entryOf(top()), "elsewhere"));
        QCOMPARE(m_errors.size(), said ? 1 : 0);
    }

    void renamingReloadsLoadedSubFolders() {
        QTreeWidgetItem* a2 = node("a2");
        a2->setExpanded(true);
        select(node("child2", a2));
        rightClick(a2, "rename");
        labelEditor()->setText(QStringLiteral("a3"));
        QTest::keyClick(labelEditor(), Qt::Key_Return);
        QTRY_COMPARE(a2->text(0), "a3");
        QCOMPARE(tree().currentItem(), a2);
        QCOMPARE(m_host->changedPaths.back(), bytes(desk("a3")));
        QCOMPARE(Labels(a2), QStringList({"child1", "child2"}));
        select(node("child1", a2));
        QCOMPARE(m_host->changedPaths.back(), bytes(desk("a3/child1")));
    }
};

QTEST_MAIN(TTreeMenuTest)
#include "tree_menu_test.moc"
