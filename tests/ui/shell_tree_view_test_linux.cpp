// The folder tree over the Linux namespace: start-up, lazy loading, paths of every kind of
// node, failures of the disk, and the right click; the disk's enumerations are counted.
#include <map>
#include <stdexcept>

#include <sys/stat.h>

#include <QSignalSpy>

#include "engine/folder_operations_linux.h"
#include "tree_menu_fixture.h"

class TShellTreeViewTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
private slots:
    void init() {
        m_enumerations.clear();
        m_failingPath.clear();
        startTree({"a10", "a2/child1", "a2/child2", "B1", ".hidden", "claims/.secret", "?1?x"},
                  [this](const std::string& path) {
                      ++m_enumerations[path];
                      if (path == m_failingPath) throw std::runtime_error("disk gone");
                      return engine::ListSubFolders(path);
                  });
        Write(desk("file.txt"), {});
    }
    void cleanup() { stopTree(); }

    void startUpSelectsTheDesktopBeforeTheWindowIsCreated() {
        QCOMPARE(m_host->changedPaths, std::vector<std::string>{bytes(desk())});
        QCOMPARE(m_host->changesWhileBuilding, 1u);
        QCOMPARE(tree().topLevelItemCount(), 1);
        QCOMPARE(top()->text(0), "桌面");
        QVERIFY(top()->isExpanded());
        QCOMPARE(Labels(top()), QStringList({"主文件夹", "计算机", "网络", "回收站", "1x", "a2",
                                             "a10", "B1", "claims"}));
        QCOMPARE(m_enumerations, (std::map<std::string, int>{{bytes(desk()), 1}}));
    }

    // Loaded once: a later expansion shows the folders as they were.
    void loadsChildrenOnTheFirstExpansionOnly() {
        QTreeWidgetItem* folder = node("a2");
        QCOMPARE(m_enumerations.count(bytes(desk("a2"))), 0u);
        expandByKey(folder);
        QCOMPARE(Labels(folder), QStringList({"child1", "child2"}));
        QVERIFY(QDir(desk("a2")).mkdir("child0"));
        QVERIFY(QDir(desk("a2")).rmdir("child1"));
        QTest::keyClick(&tree(), Qt::Key_Left);
        QTRY_VERIFY(!folder->isExpanded());
        QTest::keyClick(&tree(), Qt::Key_Right);
        QTRY_VERIFY(folder->isExpanded());
        QCOMPARE(Labels(folder), QStringList({"child1", "child2"}));
        QCOMPARE(m_enumerations[bytes(desk("a2"))], 1);
    }

    void dropsTheExpanderOfAFolderWithOnlyHiddenSubFolders() {
        QTreeWidgetItem* claims = node("claims");
        const QModelIndex index = tree().model()->index(8, 0, tree().model()->index(0, 0));
        QCOMPARE(index.data().toString(), "claims");
        QVERIFY(tree().model()->hasChildren(index));
        select(claims);
        QTest::keyClick(&tree(), Qt::Key_Right);
        QTRY_COMPARE(m_enumerations[bytes(desk("claims"))], 1);
        QCOMPARE(claims->childCount(), 0);
        QVERIFY(!tree().model()->hasChildren(index));
    }

    void collapsingAnAncestorMovesTheSelectionUp() {
        QTreeWidgetItem* folder = node("a2");
        expandByKey(folder);
        select(folder->child(1));
        QSignalSpy changed(&tree(), &TShellTreeView::changed);
        const QRect row = tree().visualItemRect(folder);
        const QPoint expander(row.left() - tree().indentation() / 2, row.center().y());
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, expander);
        QTRY_VERIFY(!folder->isExpanded());
        QCOMPARE(tree().currentItem(), folder);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_host->changedPaths.back(), bytes(desk("a2")));
    }

    void givesThePathOfEveryKindOfNode() {
        QCOMPARE(::mkdir((bytes(desk()) + "/bad\xff").c_str(), 0700), 0); // not UTF-8: no QDir
        const auto remove = qScopeGuard([this] { engine::DeleteTree(bytes(desk()) + "/bad\xff"); });
        tree().refreshBranch(top());
        QCOMPARE(tree().selectedPath(), bytes(desk()));
        const std::pair<const char*, std::string> kinds[] = {{"a10", bytes(desk("a10"))},
                                                             {"主文件夹", bytes(home())},
                                                             {"回收站", "回收站"},
                                                             {"计算机", "计算机"}};
        for (const auto& [label, path] : kinds) {
            select(node(label));
            QCOMPARE(tree().selectedPath(), path);
        }
        QTest::keyClick(&tree(), Qt::Key_Right);
        QTRY_VERIFY(node("文件系统", node("计算机")));
        select(node("文件系统", node("计算机")));
        QCOMPARE(tree().selectedPath(), "/");
        QTreeWidgetItem* raw = node(QString::fromUtf8("bad\xff"));
        QVERIFY2(raw, "the label shows the stray byte as U+FFFD");
        QVERIFY(raw->text(0).contains(QChar(0xFFFD)));
        select(raw);
        QCOMPARE(tree().selectedPath(), bytes(desk()) + "/bad\xff");
        QCOMPARE(m_host->changedPaths.back(), tree().selectedPath());
    }

    void givesNoPathWithoutASelection() {
        QCOMPARE(TShellTreeView().selectedPath(), "");
        QSignalSpy changed(&tree(), &TShellTreeView::changed);
        tree().setCurrentItem(nullptr);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(tree().selectedPath(), "");
        QCOMPARE(ShellDisplayName(nullptr, {}, TNameForm::Normal), "parentfolder = nil");
    }

    void reportsARootThatCannotBeResolved() {
        TShellTreeView tree;
        tree.setRoot(desk("missing"));
        QVERIFY_THROWS_EXCEPTION(engine::TError, tree.buildRoot());
        QCOMPARE(tree.topLevelItemCount(), 0);
        QCOMPARE(tree.root(), "rfDesktop");
        tree.buildRoot();
        tree.setRoot(desk("a2"));
        QCOMPARE(tree.topLevelItem(0)->text(0), "a2");
        QSignalSpy changed(&tree, &TShellTreeView::changed);
        const auto refused = [&tree](const QString& root) {
            try {
                tree.setRoot(root);
            } catch (const engine::TError& error) {
                return std::string(error.what());
            }
            return std::string("accepted");
        };
        QCOMPARE(refused(QString()), "Error setting path: \"\"");
        QCOMPARE(tree.root(), desk("a2"));
        QCOMPARE(tree.topLevelItemCount(), 1);
        QCOMPARE(tree.selectedPath(), bytes(desk("a2")));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(refused(desk("missing")),
                 "Error setting path: \"" + desk("missing").toStdString() + "\"");
    }

    void rightClickTargetsANodeWithoutMovingTheSelection() {
        QSignalSpy changed(&tree(), &TShellTreeView::changed);
        const QPoint at = tree().visualItemRect(node("B1")).center();
        QTest::mousePress(tree().viewport(), Qt::RightButton, {}, at);
        QCOMPARE(tree().rightClickTarget(), node("B1"));
        QCOMPARE(tree().selectedPath(), bytes(desk("B1")));
        QTest::mouseRelease(tree().viewport(), Qt::RightButton, {}, at);
        QCOMPARE(tree().rightClickTarget(), nullptr);
        QCOMPARE(tree().currentItem(), top());
        QCOMPARE(tree().selectedPath(), bytes(desk()));
        QCOMPARE(changed.count(), 0);
    }

    // The cursor and the updates come back after the failure.
    void showsAFailedExpansionAndLoadsOnTheNextOne() {
        QTreeWidgetItem* folder = node("a2");
        select(folder);
        m_failingPath = bytes(desk("a2"));
        QTest::keyClick(&tree(), Qt::Key_Right);
        QCOMPARE(m_errors, QStringList{"disk gone."});
        QCOMPARE(folder->childCount(), 0);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(tree().updatesEnabled());
        m_failingPath.clear();
        QTest::keyClick(&tree(), Qt::Key_Left);
        QTRY_VERIFY(!folder->isExpanded());
        QTest::keyClick(&tree(), Qt::Key_Right);
        QTRY_VERIFY(folder->isExpanded());
        QCOMPARE(Labels(folder), QStringList({"child1", "child2"}));
        QCOMPARE(m_errors.size(), 1);
    }

private:
    void expandByKey(QTreeWidgetItem* folder) {
        select(folder);
        QTest::keyClick(&tree(), Qt::Key_Right);
        QTRY_VERIFY(folder->isExpanded());
    }

    std::map<std::string, int> m_enumerations;
    std::string m_failingPath;
};

QTEST_MAIN(TShellTreeViewTest)
#include "shell_tree_view_test_linux.moc"
