#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "ui/common/error_display.h"
#include "ui/namespace/namespace_linux.h"
#include "ui/tree/shell_tree_view.h"

namespace {

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Stands in for the main window: connects the tree, builds its root, then runs its own
// creation step, recording which paths the change event saw and when.
class THostWindow : public QWidget {
public:
    THostWindow() : tree(new TShellTreeView(this)) {
        (new QVBoxLayout(this))->addWidget(tree);
        connect(tree, &TShellTreeView::changed, this, &THostWindow::onTreeChanged);
        tree->buildRoot();
        formCreated = true;
        resize(320, 900);
    }
    void onTreeChanged(QTreeWidgetItem*) {
        paths.push_back(tree->selectedPath());
        changedBeforeFormCreate.push_back(!formCreated);
    }

    TShellTreeView* tree;
    bool formCreated = false;
    std::vector<std::string> paths;
    std::vector<bool> changedBeforeFormCreate;
};

QStringList Labels(const QTreeWidgetItem* node) {
    QStringList labels;
    for (int i = 0; i < node->childCount(); ++i)
        labels << node->child(i)->text(0);
    return labels;
}

QTreeWidgetItem* Child(QTreeWidgetItem* node, const QString& label) {
    for (int i = 0; i < node->childCount(); ++i)
        if (node->child(i)->text(0) == label) return node->child(i);
    return nullptr;
}

} // namespace

class TShellTreeViewTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpSelectsTheDesktopBeforeTheWindowIsCreated();
    void loadsChildrenOnTheFirstExpansionOnly();
    void dropsTheExpanderOfAFolderWithOnlyHiddenSubFolders();
    void collapsingAnAncestorMovesTheSelectionUp();
    void givesThePathOfEveryKindOfNode();
    void givesNoPathWithoutASelection();
    void reportsARootThatCannotBeResolved();
    void rightClickTargetsANodeWithoutMovingTheSelection();
    void restoresCursorAndUpdatesWhenLoadingFails();
    void showsAFailedExpansionAndLoadsOnTheNextOne();

private:
    QString desk(const QString& relative = {}) const {
        return m_dir->path() + "/desk" + (relative.isEmpty() ? "" : "/" + relative);
    }
    QTreeWidgetItem* top() const { return m_host->tree->topLevelItem(0); }
    void showHost();
    void select(QTreeWidgetItem* node);

    std::optional<QTemporaryDir> m_dir;
    std::shared_ptr<std::map<std::string, int>> m_enumerations;
    std::string m_failingPath;
    std::optional<TShellNamespaceScope> m_namespace;
    std::unique_ptr<THostWindow> m_host;
};

void TShellTreeViewTest::init() {
    m_dir.emplace();
    const QDir root(m_dir->path());
    for (const char* folder : {"desk/a10", "desk/a2/child1", "desk/a2/child2", "desk/B1",
                               "desk/.hidden", "desk/claims/.secret", "desk/?1?x", "home/docs"})
        QVERIFY(root.mkpath(QString::fromUtf8(folder)));
    QFile file(desk("file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    m_enumerations = std::make_shared<std::map<std::string, int>>();
    m_failingPath.clear();
    TNamespacePlaces places;
    places.DesktopPath = Bytes(desk());
    places.HomePath = Bytes(m_dir->path() + "/home");
    places.Mounts = [] { return std::vector<TMount>{}; };
    places.ListSubFolders = [counts = m_enumerations, this](const std::string& path) {
        ++(*counts)[path];
        if (path == m_failingPath) throw std::runtime_error("disk gone");
        return engine::ListSubFolders(path);
    };
    m_namespace.emplace(std::make_unique<TLinuxNamespace>(places));
}

void TShellTreeViewTest::cleanup() {
    m_host.reset();
    m_namespace.reset();
    m_dir.reset();
}

void TShellTreeViewTest::showHost() {
    m_host = std::make_unique<THostWindow>();
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
    m_host->tree->setFocus();
}

void TShellTreeViewTest::select(QTreeWidgetItem* node) {
    m_host->tree->scrollToItem(node);
    const QPoint at = m_host->tree->visualItemRect(node).center();
    QTest::mouseClick(m_host->tree->viewport(), Qt::LeftButton, {}, at);
    QTRY_COMPARE(m_host->tree->currentItem(), node);
}

void TShellTreeViewTest::startUpSelectsTheDesktopBeforeTheWindowIsCreated() {
    showHost();
    QCOMPARE(m_host->paths, std::vector<std::string>{Bytes(desk())});
    QCOMPARE(m_host->changedBeforeFormCreate, std::vector<bool>{true});
    TShellTreeView& tree = *m_host->tree;
    QCOMPARE(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* top = tree.topLevelItem(0);
    QCOMPARE(top->text(0), "桌面");
    QVERIFY(top->isExpanded());
    QCOMPARE(Labels(top), QStringList({"主文件夹", "计算机", "网络", "回收站", "1x", "a2", "a10",
                                       "B1", "claims"}));
    QCOMPARE((*m_enumerations)[Bytes(desk())], 1);
    QCOMPARE(m_enumerations->size(), 1u);
}

void TShellTreeViewTest::loadsChildrenOnTheFirstExpansionOnly() {
    showHost();
    QTreeWidgetItem* folder = Child(top(), "a2");
    QVERIFY(folder);
    QCOMPARE(m_enumerations->count(Bytes(desk("a2"))), 0u);
    select(folder);
    QTest::keyClick(m_host->tree, Qt::Key_Right);
    QTRY_VERIFY(folder->isExpanded());
    QCOMPARE(Labels(folder), QStringList({"child1", "child2"}));

    QVERIFY(QDir(desk("a2")).mkdir("child0"));
    QVERIFY(QDir(desk("a2")).rmdir("child1"));
    QTest::keyClick(m_host->tree, Qt::Key_Left);
    QTRY_VERIFY(!folder->isExpanded());
    QTest::keyClick(m_host->tree, Qt::Key_Right);
    QTRY_VERIFY(folder->isExpanded());
    QCOMPARE(Labels(folder), QStringList({"child1", "child2"}));
    QCOMPARE((*m_enumerations)[Bytes(desk("a2"))], 1);
}

void TShellTreeViewTest::dropsTheExpanderOfAFolderWithOnlyHiddenSubFolders() {
    showHost();
    QTreeWidgetItem* claims = Child(top(), "claims");
    const QModelIndex index =
        m_host->tree->model()->index(8, 0, m_host->tree->model()->index(0, 0));
    QCOMPARE(index.data().toString(), "claims");
    QVERIFY(m_host->tree->model()->hasChildren(index));
    select(claims);
    QTest::keyClick(m_host->tree, Qt::Key_Right);
    QTRY_COMPARE((*m_enumerations)[Bytes(desk("claims"))], 1);
    QCOMPARE(claims->childCount(), 0);
    QVERIFY(!m_host->tree->model()->hasChildren(index));
}

void TShellTreeViewTest::collapsingAnAncestorMovesTheSelectionUp() {
    showHost();
    QTreeWidgetItem* folder = Child(top(), "a2");
    select(folder);
    QTest::keyClick(m_host->tree, Qt::Key_Right);
    QTRY_COMPARE(folder->childCount(), 2);
    select(folder->child(1));
    QSignalSpy changed(m_host->tree, &TShellTreeView::changed);
    const QRect row = m_host->tree->visualItemRect(folder);
    const QPoint expander(row.left() - m_host->tree->indentation() / 2, row.center().y());
    QTest::mouseClick(m_host->tree->viewport(), Qt::LeftButton, {}, expander);
    QTRY_VERIFY(!folder->isExpanded());
    QCOMPARE(m_host->tree->currentItem(), folder);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_host->paths.back(), Bytes(desk("a2")));
}

void TShellTreeViewTest::givesThePathOfEveryKindOfNode() {
    QCOMPARE(::mkdir((Bytes(desk()) + "/bad\xff").c_str(), 0700), 0); // not UTF-8: no QDir
    showHost();
    TShellTreeView& tree = *m_host->tree;
    QCOMPARE(tree.selectedPath(), Bytes(desk()));
    select(Child(top(), "a10"));
    QCOMPARE(tree.selectedPath(), Bytes(desk("a10")));
    select(Child(top(), "主文件夹"));
    QCOMPARE(tree.selectedPath(), Bytes(m_dir->path() + "/home"));
    select(Child(top(), "回收站"));
    QCOMPARE(tree.selectedPath(), "回收站");
    QTreeWidgetItem* computer = Child(top(), "计算机");
    select(computer);
    QCOMPARE(tree.selectedPath(), "计算机");
    QTest::keyClick(&tree, Qt::Key_Right);
    QTRY_VERIFY(Child(computer, "文件系统"));
    select(Child(computer, "文件系统"));
    QCOMPARE(tree.selectedPath(), "/");

    QTreeWidgetItem* raw = Child(top(), QString::fromUtf8("bad\xff"));
    QVERIFY2(raw, "the label shows the stray byte as U+FFFD");
    QVERIFY(raw->text(0).contains(QChar(0xFFFD)));
    select(raw);
    QCOMPARE(tree.selectedPath(), Bytes(desk()) + "/bad\xff");
    QCOMPARE(m_host->paths.back(), tree.selectedPath());
}

void TShellTreeViewTest::givesNoPathWithoutASelection() {
    TShellTreeView unbuilt;
    QCOMPARE(unbuilt.selectedPath(), "");
    showHost();
    QSignalSpy changed(m_host->tree, &TShellTreeView::changed);
    m_host->tree->setCurrentItem(nullptr);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_host->tree->selectedPath(), "");
    QCOMPARE(TShellTreeNodes::shellDisplayName(nullptr, {}, TNameForm::Normal),
             "parentfolder = nil");
}

void TShellTreeViewTest::reportsARootThatCannotBeResolved() {
    TShellTreeView tree;
    tree.setRoot(desk("missing"));
    const std::string message = "Error setting path: \"" + desk("missing").toStdString() + "\"";
    QVERIFY_THROWS_EXCEPTION(engine::TError, tree.buildRoot());
    QCOMPARE(tree.topLevelItemCount(), 0);
    QCOMPARE(tree.root(), "rfDesktop");

    tree.buildRoot();
    tree.setRoot(desk("a2"));
    QCOMPARE(tree.topLevelItem(0)->text(0), "a2");
    QCOMPARE(tree.selectedPath(), Bytes(desk("a2")));
    QSignalSpy changed(&tree, &TShellTreeView::changed);
    try {
        tree.setRoot(QString());
        QFAIL("an empty root was accepted");
    } catch (const engine::TError& error) {
        QCOMPARE(error.what(), std::string("Error setting path: \"\""));
    }
    QCOMPARE(tree.root(), desk("a2"));
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.selectedPath(), Bytes(desk("a2")));
    QCOMPARE(changed.count(), 1);
    try {
        tree.setRoot(desk("missing"));
    } catch (const engine::TError& error) {
        QCOMPARE(error.what(), message);
    }
}

void TShellTreeViewTest::rightClickTargetsANodeWithoutMovingTheSelection() {
    showHost();
    TShellTreeView& tree = *m_host->tree;
    QTreeWidgetItem* folder = Child(top(), "B1");
    QSignalSpy changed(&tree, &TShellTreeView::changed);
    const QPoint at = tree.visualItemRect(folder).center();
    QTest::mousePress(tree.viewport(), Qt::RightButton, {}, at);
    QCOMPARE(tree.rightClickTarget(), folder);
    QCOMPARE(tree.selectedPath(), Bytes(desk("B1")));
    QTest::mouseRelease(tree.viewport(), Qt::RightButton, {}, at);
    QCOMPARE(tree.rightClickTarget(), nullptr);
    QCOMPARE(tree.currentItem(), top());
    QCOMPARE(tree.selectedPath(), Bytes(desk()));
    QCOMPARE(changed.count(), 0);
}

void TShellTreeViewTest::restoresCursorAndUpdatesWhenLoadingFails() {
    showHost();
    m_failingPath = Bytes(desk("a10"));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             m_host->tree->nodes().loadChildren(Child(top(), "a10")));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(m_host->tree->updatesEnabled());
}

void TShellTreeViewTest::showsAFailedExpansionAndLoadsOnTheNextOne() {
    QStringList errors;
    SetErrorDisplay([&errors](const QString& message) { errors << message; });
    const auto restore = qScopeGuard([] { SetErrorDisplay({}); });
    showHost();
    QTreeWidgetItem* folder = Child(top(), "a2");
    select(folder);
    m_failingPath = Bytes(desk("a2"));
    QTest::keyClick(m_host->tree, Qt::Key_Right);
    QCOMPARE(errors, QStringList{"disk gone."});
    QCOMPARE(folder->childCount(), 0);
    m_failingPath.clear();
    QTest::keyClick(m_host->tree, Qt::Key_Left);
    QTRY_VERIFY(!folder->isExpanded());
    QTest::keyClick(m_host->tree, Qt::Key_Right);
    QTRY_VERIFY(folder->isExpanded());
    QCOMPARE(Labels(folder), QStringList({"child1", "child2"}));
    QCOMPARE(errors.size(), 1);
}

QTEST_MAIN(TShellTreeViewTest)
#include "shell_tree_view_test_linux.moc"
