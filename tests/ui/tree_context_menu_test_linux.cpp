// The Linux tree's own context menu: which verbs it offers, copy, cut, paste and new folder with
// the rebuilt branch, properties, opening in the file manager, and the verbs that wait while a
// batch holds a folder.
#include <sys/stat.h>

#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>

#include "engine/folder_operations_linux.h"
#include "tree_clipboard_linux.h"
#include "tree_menu_fixture.h"
#include "ui/tree/folder_properties_dialog_linux.h"
#include "ui/tree/shell_tree_menu_linux.h"

namespace {

const QStringList AllPlain{"open", "cut", "copy", "delete", "rename", "newfolder", "properties"};
const QStringList Waiting{"open", "copy", "newfolder", "properties"};
const QString HeldReason =
    QStringLiteral("批量改名正在这个文件夹里进行，结束后才能剪切、删除或重命名");

} // namespace

class TTreeContextMenuTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
private slots:
    void initTestCase() { keepTrashInScratch(); }
    // Natural order to check, branches to open, a source and a target for moves, a folder to
    // hold and one beside it.
    void init() {
        startTree({"B1/x", "a2/child1", "a2/child2", "a10", "src/sub", "dst/inner/deep",
                   "outer/work", "other"});
    }
    void cleanup() { stopTree(); }

    void enablesWhatMakesSenseForTheItem_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("clipboardHoldsFolder");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("top node") << "" << false << Waiting;
        QTest::newRow("top node, folder on clipboard")
            << "" << true << QStringList{"open", "copy", "paste", "newfolder", "properties"};
        QTest::newRow("home") << "主文件夹" << false << Waiting;
        for (const char* place : {"计算机", "网络", "回收站"}) // none, even with a folder to paste
            QTest::newRow(place) << place << true << QStringList{};
        QTest::newRow("folder") << "B1" << false << AllPlain;
        QTest::newRow("folder, folder on clipboard")
            << "B1" << true << QStringList{"open",   "cut",    "copy",      "paste",
                                           "delete", "rename", "newfolder", "properties"};
    }
    void enablesWhatMakesSenseForTheItem() {
        QFETCH(QString, label);
        QFETCH(bool, clipboardHoldsFolder);
        if (clipboardHoldsFolder)
            PutOnClipboard(desk("a10"), TClipboardAction::Copy);
        else
            QGuiApplication::clipboard()->setText(QStringLiteral("not a path"));
        rightClick(label.isEmpty() ? top() : node(label), {});
        QCOMPARE(m_menu.shown, 1);
        QTEST(m_menu.enabled, "enabled");
    }

    // The label shows some names only approximately; confirming it unchanged keeps the name.
    void anUnchangedLabelKeepsTheNameItShowsApproximately_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("label");
        QTest::newRow("not UTF-8") << QByteArray("bad\xff") << QStringLiteral("bad\uFFFD");
        QTest::newRow("question mark before a digit") << QByteArray("?1?x") << QStringLiteral("1x");
    }
    void anUnchangedLabelKeepsTheNameItShowsApproximately() {
        QFETCH(QByteArray, name);
        QFETCH(QString, label);
        const std::string raw = bytes(desk()) + "/" + name.toStdString();
        QCOMPARE(::mkdir(raw.c_str(), 0755), 0);
        const auto remove = qScopeGuard([&] { engine::DeleteTree(raw); });
        tree().refreshBranch(top());
        QTreeWidgetItem* shown = node(label);
        QVERIFY(shown);
        rightClick(shown, "rename");
        QTest::keyClick(labelEditor(), Qt::Key_Return);
        QTRY_VERIFY(!labelEditor());
        QVERIFY(engine::ProbeFolder(raw).IsFolder);
        QVERIFY(!QFile::exists(desk(label)));
        QCOMPARE(node(label), shown);
        QCOMPARE(m_errors, QStringList());
    }

    void placesCannotBeRenamed() {
        QVERIFY(!TShellTreeNodes::renameItem(TShellTreeNodes::entryOf(node("主文件夹")), "x"));
        QVERIFY(QFile::exists(home()));
        QCOMPARE(m_errors, QStringList());
    }

    // The menu as the program shows it: a popup whose chosen action's verb is carried out.
    void theRealMenuCarriesOutTheChosenVerb() {
        tree().setMenuHooks({});
        QStringList texts;
        QTimer::singleShot(0, this, [&texts] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) continue;
                texts << action->text();
                if (TTreeContextMenu::verbOf(action) == "rename") menu->setActiveAction(action);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        rightClick(node("B1"), {});
        QCOMPARE(texts, QStringList({"打开", "剪切", "复制", "粘贴", "删除", "重命名", "新建文件夹",
                                     "属性"}));
        QTRY_VERIFY(labelEditor());
        QTest::keyClick(labelEditor(), Qt::Key_Escape);
        QTRY_VERIFY(!labelEditor());
    }

    void opensInTheFileManagerFromTheParentDirectory() {
        const QString before = QDir::currentPath();
        QList<QUrl> opened;
        QStringList directories;
        bool answer = true;
        TFolderMenuHooks hooks;
        hooks.ChooseVerb = [this](QMenu&, const QPoint&) { return m_menu.choice; };
        hooks.OpenUrl = [&](const QUrl& url) {
            opened << url;
            directories << QDir::currentPath();
            return answer;
        };
        tree().setMenuHooks(hooks);
        rightClick(node("a10"), "open");
        answer = false;
        rightClick(node("B1"), "open");
        QCOMPARE(opened,
                 (QList<QUrl>{QUrl::fromLocalFile(desk("a10")), QUrl::fromLocalFile(desk("B1"))}));
        QCOMPARE(directories, (QStringList{desk(), desk()}));
        QCOMPARE(QDir::currentPath(), before);
    }

    void showsProperties() {
        engine::TFormatSettings settings; // the window's: times as the file list shows them
        settings.ShortDatePattern = "'on' yyyy";
        settings.LongTimePattern = "'at' h";
        tree().setFormatSettings(settings);
        rightClick(node("a10"), "properties");
        auto* dialog = tree().findChild<TFolderPropertiesDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        const QString modified = dialog->findChild<QLabel*>("ModifiedLabel")->text();
        QVERIFY2(modified.startsWith(QStringLiteral("on 20")), qPrintable(modified));
        dialog->close();
        QTRY_VERIFY(!tree().findChild<TFolderPropertiesDialog*>());
        QDir(desk("B1")).removeRecursively();
        rightClick(node("B1"), "properties");
        QCOMPARE(m_errors.size(), 1);
    }

    // The clipboard's formats themselves are folder_clipboard_test_linux's. The copy keeps its
    // source, as the cut then shows.
    void copyThenPasteDuplicatesWithoutReplacingAndCutThenPasteMoves() {
        Write(desk("src/sub/data"), "payload");
        Write(desk("dst/src"), "a file in the way");
        const QByteArray url = FileUrlFromPath(QFile::encodeName(desk("src")));
        const auto copied = [] {
            return QGuiApplication::clipboard()->mimeData()->data("x-special/gnome-copied-files");
        };
        rightClick(node("src"), "copy");
        QCOMPARE(copied(), "copy\n" + url);
        rightClick(node("dst"), "paste");
        QCOMPARE(Read(desk("dst/src (2)/sub/data")), "payload");
        QCOMPARE(Read(desk("dst/src")), "a file in the way");
        rightClick(top(), "paste");
        QCOMPARE(Read(desk("src (2)/sub/data")), "payload");
        QVERIFY(node("src (2)"));

        rightClick(node("src"), "cut");
        QCOMPARE(copied(), "cut\n" + url);
        rightClick(node("a10"), "paste");
        QCOMPARE(Read(desk("a10/src/sub/data")), "payload");
        QVERIFY(!QFile::exists(desk("src")));
        const QMimeData* after = QGuiApplication::clipboard()->mimeData();
        QVERIFY(!after || !after->hasUrls());
        QCOMPARE(m_errors, QStringList());
    }

    void pasteRebuildsTheBranchAndSelectsTheFolder() {
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

    void pasteKeepsTheTopVisibleNode() {
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

    void pasteReportsWhatItCouldNotPaste() {
        QGuiApplication::clipboard()->setMimeData(MakeFolderClipboardData(
            {QFile::encodeName(desk("gone")), QFile::encodeName(desk("a10"))},
            TClipboardAction::Copy));
        rightClick(node("B1"), "paste");
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors[0].startsWith("“" + desk("gone") + "”：找不到文件或文件夹"),
                 qPrintable(m_errors[0]));
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

    void newFolderStartsEditingItsLabel() {
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

    // A batch renaming in outer/work: the verbs that would move, rename or delete it or the
    // folder holding it wait and say why.
    void verbsWaitForTheHeldFolderAndWhatHoldsIt_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<int>("reasons");
        QTest::newRow("the held folder") << "work" << Waiting << 3;
        QTest::newRow("the folder holding it") << "outer" << Waiting << 3;
        QTest::newRow("another folder") << "other" << AllPlain << 0;
    }
    void verbsWaitForTheHeldFolderAndWhatHoldsIt() {
        QFETCH(QString, label);
        QFETCH(int, reasons);
        hold();
        rightClick(labelled(label), {});
        QTEST(m_menu.enabled, "enabled");
        QCOMPARE(m_menu.waitReasons, QStringList(reasons, HeldReason));
    }

    void aCutPasteThatWouldMoveTheHeldFolderWaits_data() {
        QTest::addColumn<QString>("onClipboard");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("pastes");
        QTest::newRow("the held folder cut, pasted elsewhere")
            << "outer/work" << true << "other" << false;
        QTest::newRow("its holder cut, pasted elsewhere") << "outer" << true << "other" << false;
        QTest::newRow("the held folder copied") << "outer/work" << false << "other" << true;
        QTest::newRow("another folder cut into it") << "other" << true << "work" << false;
        QTest::newRow("another folder copied into it") << "other" << false << "work" << true;
    }
    void aCutPasteThatWouldMoveTheHeldFolderWaits() {
        QFETCH(QString, onClipboard);
        QFETCH(bool, cut);
        QFETCH(QString, target);
        QFETCH(bool, pastes);
        hold();
        PutOnClipboard(desk(onClipboard), cut ? TClipboardAction::Cut : TClipboardAction::Copy);
        rightClick(labelled(target), "paste");
        QCOMPARE(m_menu.enabled.contains("paste"), pastes);
        QTRY_COMPARE(QFileInfo::exists(desk(onClipboard)), !(pastes && cut));
        QVERIFY(QFileInfo::exists(desk("outer/work")));
        QCOMPARE(m_errors, QStringList());
    }

    // The held folder's label does not open, and one opened before the batch does not rename;
    // once the hold ends, everything comes back.
    void theHeldLabelDoesNotRenameUntilTheHoldEnds() {
        hold();
        tree().editItem(labelled("work"), 0);
        QVERIFY(!labelEditor());
        tree().setHeldFolder({});
        tree().editItem(labelled("work"), 0); // opened before a batch started
        QVERIFY(labelEditor());
        tree().setHeldFolder(bytes(desk("outer/work")));
        labelEditor()->setText(QStringLiteral("moved"));
        QTest::keyClick(labelEditor(), Qt::Key_Return);
        QTRY_VERIFY(!labelEditor());
        QVERIFY(QFileInfo::exists(desk("outer/work")));
        QCOMPARE(m_errors, QStringList{HeldReason + "。"});
        tree().setHeldFolder({});
        rightClick(labelled("work"), "rename");
        QCOMPARE(m_menu.enabled, AllPlain);
        QVERIFY(labelEditor());
    }

private:
    void hold() {
        node("outer")->setExpanded(true);
        tree().setHeldFolder(bytes(desk("outer/work")) + "/");
        QGuiApplication::clipboard()->setText(QStringLiteral("not a path"));
    }
    QTreeWidgetItem* labelled(const QString& label) const {
        return label == "work" ? node("work", node("outer")) : node(label);
    }
};

QTEST_MAIN(TTreeContextMenuTest)
#include "tree_context_menu_test_linux.moc"
