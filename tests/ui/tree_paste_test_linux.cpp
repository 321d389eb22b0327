#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "tree_clipboard_linux.h"
#include "tree_menu_fixture.h"

// Copy, cut, paste and new folder from the tree's menu, and the rebuilt branch.
class TTreePasteTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
private slots:
    void initTestCase() { keepTrashInScratch(); }
    void init() { startTree(MenuTestFolders); }
    void cleanup() { stopTree(); }
    void copyThenPasteDuplicatesWithoutReplacing();
    void cutThenPasteMoves();
    void pasteRebuildsTheBranchAndSelectsTheFolder();
    void pasteKeepsTheTopVisibleNode();
    void pasteReportsWhatItCouldNotPaste();
    void newFolderStartsEditingItsLabel();
};

void TTreePasteTest::copyThenPasteDuplicatesWithoutReplacing() {
    Write(desk("src/sub/data"), "payload");
    Write(desk("dst/src"), "a file in the way");
    rightClick(node("src"), "copy");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QByteArray url = FileUrlFromPath(QFile::encodeName(desk("src")));
    QCOMPARE(data->data("x-special/gnome-copied-files"), "copy\n" + url);
    QCOMPARE(data->data("x-special/mate-copied-files"), "copy\n" + url);
    QCOMPARE(data->data("application/x-kde-cutselection"), "0");
    QCOMPARE(data->data("text/uri-list").trimmed(), url);
    QCOMPARE(data->text().trimmed(), desk("src"));
    rightClick(node("dst"), "paste");
    QCOMPARE(Read(desk("dst/src (2)/sub/data")), "payload");
    QCOMPARE(Read(desk("dst/src")), "a file in the way");
    rightClick(top(), "paste");
    QCOMPARE(Read(desk("src (2)/sub/data")), "payload");
    QCOMPARE(Read(desk("src/sub/data")), "payload");
    QVERIFY(node("src (2)"));
    QCOMPARE(m_errors, QStringList());
}

void TTreePasteTest::cutThenPasteMoves() {
    Write(desk("src/sub/data"), "payload");
    rightClick(node("src"), "cut");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QByteArray url = FileUrlFromPath(QFile::encodeName(desk("src")));
    QCOMPARE(data->data("x-special/gnome-copied-files"), "cut\n" + url);
    QCOMPARE(data->data("x-special/mate-copied-files"), "cut\n" + url);
    QCOMPARE(data->data("application/x-kde-cutselection"), "1");
    QCOMPARE(data->data("text/uri-list").trimmed(), url);
    rightClick(node("a10"), "paste");
    QCOMPARE(Read(desk("a10/src/sub/data")), "payload");
    QVERIFY(!QFile::exists(desk("src")));
    const QMimeData* after = QGuiApplication::clipboard()->mimeData();
    QVERIFY(!after || !after->hasUrls());
    QCOMPARE(m_errors, QStringList());
}

void TTreePasteTest::pasteRebuildsTheBranchAndSelectsTheFolder() {
    QTreeWidgetItem* dst = node("dst");
    dst->setExpanded(true);
    node("inner", dst)->setExpanded(true);
    select(node("a10"));
    PutOnClipboard(desk("B1"), TClipboardAction::Copy);
    const QSignalSpy changed(&tree(), &TShellTreeView::changed);
    std::vector<bool> updatesAtChange;
    const auto watch = connect(&tree(), &TShellTreeView::changed, this,
                               [&] { updatesAtChange.push_back(tree().updatesEnabled()); });
    rightClick(dst, "paste");
    disconnect(watch);
    QTreeWidgetItem* rebuilt = node("dst");
    QVERIFY(rebuilt);
    QCOMPARE(Labels(rebuilt), QStringList({"B1", "inner"}));
    QVERIFY(rebuilt->isExpanded());
    QVERIFY(node("inner", rebuilt)->isExpanded());
    QCOMPARE(Labels(node("inner", rebuilt)), QStringList{"deep"});
    QCOMPARE(tree().currentItem(), rebuilt);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(updatesAtChange, std::vector<bool>{false}); // the rebuild had not ended yet
    QCOMPARE(m_host->changedPaths.back(), bytes(desk("dst")));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(tree().updatesEnabled());
}

void TTreePasteTest::pasteKeepsTheTopVisibleNode() {
    m_host->resize(320, 120);
    QTRY_VERIFY(tree().viewport()->height() < 80);
    QTreeWidgetItem* dst = node("dst");
    dst->setExpanded(true);
    node("inner", dst)->setExpanded(true);
    select(dst);
    tree().scrollToItem(node("inner", dst), QAbstractItemView::PositionAtTop);
    QTRY_COMPARE(tree().itemAt(0, 0)->text(0), "inner");
    PutOnClipboard(desk("B1"), TClipboardAction::Copy);
    menuKey("paste"); // the paste adds a row above the top visible node
    QCOMPARE(tree().itemAt(0, 0)->text(0), "inner");
    QCOMPARE(tree().currentItem(), node("dst"));
    QCOMPARE(m_host->changedPaths.back(), bytes(desk("dst")));
}

void TTreePasteTest::pasteReportsWhatItCouldNotPaste() {
    QGuiApplication::clipboard()->setMimeData(MakeFolderClipboardData(
        {QFile::encodeName(desk("gone")), QFile::encodeName(desk("a10"))}, TClipboardAction::Copy));
    rightClick(node("B1"), "paste");
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors[0].contains(desk("gone")), qPrintable(m_errors[0]));
    QVERIFY(QFile::exists(desk("B1/a10")));
    QCOMPARE(Labels(node("B1")), QStringList({"a10", "x"}));
    PutOnClipboard(desk("dst"), TClipboardAction::Copy);
    node("dst")->setExpanded(true);
    rightClick(node("inner", node("dst")), "paste"); // into itself: nothing happens
    QCOMPARE(m_errors.size(), 2);
    QVERIFY(!QFile::exists(desk("dst/inner/dst")));
    auto* withNul = new QMimeData;
    withNul->setData("x-special/gnome-copied-files", "copy\nfile://" + desk("a%00b").toUtf8());
    QGuiApplication::clipboard()->setMimeData(withNul);
    rightClick(node("B1"), "paste"); // a path no folder can have, shown whole
    QCOMPARE(m_errors.size(), 3);
    QVERIFY2(m_errors[2].startsWith("“" + desk("a\\0b") + "”："), qPrintable(m_errors[2]));
}

void TTreePasteTest::newFolderStartsEditingItsLabel() {
    QDir().mkpath(desk("B1/新建文件夹"));
    rightClick(node("B1"), "newfolder");
    QVERIFY(QFile::exists(desk("B1/新建文件夹 (2)")));
    QTRY_VERIFY(labelEditor());
    QCOMPARE(labelEditor()->text(), "新建文件夹 (2)");
    labelEditor()->setText(QStringLiteral("made"));
    QTest::keyClick(labelEditor(), Qt::Key_Return);
    QTRY_VERIFY(QFile::exists(desk("B1/made")));
    QStringList labels = Labels(node("B1"));
    labels.sort();
    QCOMPARE(labels, QStringList({"made", "x", "新建文件夹"}));
}

QTEST_MAIN(TTreePasteTest)
#include "tree_paste_test_linux.moc"
