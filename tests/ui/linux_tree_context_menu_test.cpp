#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include "engine/engine.h"
#include "linux_tree_menu_fixture.h"
#include "ui/tree/linux_folder_clipboard.h"
#include "ui/tree/linux_folder_properties_dialog.h"

class TTreeContextMenuTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
private slots:
    // A delete that a test picks by mistake must not reach the user's own trash.
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path())); }
    void init() {
        startTree({"B1/x", "a2/child1", "a2/child2", "a10", "src/sub", "dst/inner/deep"});
    }
    void cleanup() { stopTree(); }
    void rightClickOpensTheTargetsMenuAndLeavesTheSelection();
    void keyboardOpensTheSelectedNodesMenuAtItsLabel();
    void enablesWhatMakesSenseForTheItem_data();
    void enablesWhatMakesSenseForTheItem();
    void renamesThroughTheMenuAndThroughTheLabel();
    void escapeAndUnchangedTextChangeNothing();
    void anUnchangedLabelKeepsTheNameItShowsApproximately_data();
    void anUnchangedLabelKeepsTheNameItShowsApproximately();
    void refusedRenamesKeepTheLabelAndSayWhy_data();
    void refusedRenamesKeepTheLabelAndSayWhy();
    void renamingTheListedFolderRaisesNoChange();
    void renamingReloadsLoadedSubFolders();
    void theRealMenuCarriesOutTheChosenVerb();
    void opensInTheFileManagerFromTheParentDirectory();
    void showsProperties();

private:
    QTemporaryDir m_data;
};

void TTreeContextMenuTest::rightClickOpensTheTargetsMenuAndLeavesTheSelection() {
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

void TTreeContextMenuTest::keyboardOpensTheSelectedNodesMenuAtItsLabel() {
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

void TTreeContextMenuTest::enablesWhatMakesSenseForTheItem_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("clipboardHoldsFolder");
    QTest::addColumn<QStringList>("enabled");
    const QStringList place{"open", "copy", "newfolder", "properties"};
    const QStringList plain{"open", "cut", "copy", "delete", "rename", "newfolder", "properties"};
    QTest::newRow("top node") << "" << false << place;
    QTest::newRow("top node, folder on clipboard")
        << "" << true << QStringList{"open", "copy", "paste", "newfolder", "properties"};
    QTest::newRow("home") << "主文件夹" << false << place;
    QTest::newRow("computer") << "计算机" << true << QStringList{};
    QTest::newRow("network") << "网络" << true << QStringList{};
    QTest::newRow("trash") << "回收站" << true << QStringList{};
    QTest::newRow("folder") << "B1" << false << plain;
    QTest::newRow("folder, folder on clipboard")
        << "B1" << true << QStringList{"open",   "cut",    "copy",      "paste",
                                       "delete", "rename", "newfolder", "properties"};
}

void TTreeContextMenuTest::enablesWhatMakesSenseForTheItem() {
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

void TTreeContextMenuTest::renamesThroughTheMenuAndThroughTheLabel() {
    rightClick(node("B1"), "rename");
    QVERIFY(labelEditor());
    labelEditor()->setText(QStringLiteral("新名"));
    QTest::keyClick(labelEditor(), Qt::Key_Return);
    QTRY_VERIFY(node("新名"));
    QVERIFY(QFile::exists(desk("新名/x")));
    QVERIFY(!QFile::exists(desk("B1")));

    QTreeWidgetItem* a2 = node("a2");
    select(a2);
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, tree().visualItemRect(a2).center());
    QTRY_VERIFY(labelEditor());
    labelEditor()->selectAll();
    QTest::keyClicks(labelEditor(), "a3");
    QTest::keyClick(labelEditor(), Qt::Key_Enter);
    QTRY_COMPARE(a2->text(0), "a3");
    QCOMPARE(tree().selectedPath(), bytes(desk("a3")));
    a2->setExpanded(true); // the renamed node enumerates the folder under its new name
    QCOMPARE(Labels(a2), QStringList({"child1", "child2"}));
    QCOMPARE(m_errors, QStringList());
}

void TTreeContextMenuTest::escapeAndUnchangedTextChangeNothing() {
    rightClick(node("a10"), "rename");
    QVERIFY(labelEditor());
    labelEditor()->setText(QStringLiteral("zzz"));
    QTest::keyClick(labelEditor(), Qt::Key_Escape);
    QTRY_VERIFY(!labelEditor());
    rightClick(node("a10"), "rename");
    QTest::keyClick(labelEditor(), Qt::Key_Return);
    QTRY_VERIFY(!labelEditor());
    QVERIFY(node("a10"));
    QVERIFY(QFile::exists(desk("a10")));
    QVERIFY(!QFile::exists(desk("zzz")));
    QCOMPARE(m_errors, QStringList());
}

// The label shows some names only approximately; confirming it unchanged keeps the name.
void TTreeContextMenuTest::anUnchangedLabelKeepsTheNameItShowsApproximately_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("label");
    QTest::newRow("not UTF-8") << QByteArray("bad\xff") << QStringLiteral("bad\uFFFD");
    QTest::newRow("question mark before a digit") << QByteArray("?1?x") << QStringLiteral("1x");
}

void TTreeContextMenuTest::anUnchangedLabelKeepsTheNameItShowsApproximately() {
    QFETCH(QByteArray, name);
    QFETCH(QString, label);
    const std::string raw = bytes(desk()) + "/" + name.toStdString();
    QCOMPARE(::mkdir(raw.c_str(), 0755), 0);
    const auto cleanup = qScopeGuard([&] { engine::DeleteTree(raw); });
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

void TTreeContextMenuTest::refusedRenamesKeepTheLabelAndSayWhy_data() {
    QTest::addColumn<QString>("newName");
    QTest::newRow("taken by a folder") << "a10";
    QTest::newRow("taken by a file") << "file.txt";
    QTest::newRow("empty") << "";
    QTest::newRow("a path") << "a10/inner";
    QTest::newRow("dot dot") << "..";
}

void TTreeContextMenuTest::refusedRenamesKeepTheLabelAndSayWhy() {
    QFETCH(QString, newName);
    Write(desk("B1/x/kept"), "B1's");
    Write(desk("a10/kept"), "a10's");
    Write(desk("file.txt"), "file");
    rightClick(node("B1"), "rename");
    labelEditor()->setText(newName);
    QTest::keyClick(labelEditor(), Qt::Key_Return);
    QTRY_COMPARE(m_errors, QStringList{"Rename to " + newName + " failed."});
    QVERIFY(node("B1"));
    QCOMPARE(Read(desk("B1/x/kept")), "B1's");
    QCOMPARE(Read(desk("a10/kept")), "a10's");
    QCOMPARE(Read(desk("file.txt")), "file");
    QVERIFY(!tree().renameItem(TShellTreeView::entryOf(node("主文件夹")), "elsewhere"));
    QVERIFY(!tree().renameItem(TShellTreeView::entryOf(top()), "elsewhere"));
    QCOMPARE(m_errors.size(), 1);
}

void TTreeContextMenuTest::renamingTheListedFolderRaisesNoChange() {
    select(node("a10"));
    const auto listed = m_host->changedPaths;
    QCOMPARE(listed.back(), bytes(desk("a10")));
    menuKey("rename");
    labelEditor()->setText(QStringLiteral("a11"));
    QTest::keyClick(labelEditor(), Qt::Key_Return);
    QTRY_VERIFY(QFile::exists(desk("a11")));
    QCOMPARE(m_host->changedPaths, listed);
    QCOMPARE(tree().currentItem()->text(0), "a11");
}

void TTreeContextMenuTest::renamingReloadsLoadedSubFolders() {
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

// The menu as the program shows it: a popup whose chosen action's verb is carried out.
void TTreeContextMenuTest::theRealMenuCarriesOutTheChosenVerb() {
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
    QCOMPARE(texts,
             QStringList({"打开", "剪切", "复制", "粘贴", "删除", "重命名", "新建文件夹", "属性"}));
    QTRY_VERIFY(labelEditor());
    QTest::keyClick(labelEditor(), Qt::Key_Escape);
    QTRY_VERIFY(!labelEditor());
}

void TTreeContextMenuTest::opensInTheFileManagerFromTheParentDirectory() {
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

void TTreeContextMenuTest::showsProperties() {
    engine::TFormatSettings settings; // the window's: times as the file list shows them
    settings.ShortDatePattern = "'on' yyyy";
    settings.LongTimePattern = "'at' h";
    tree().setFormatSettings(settings);
    rightClick(node("a10"), "properties");
    auto* dialog = tree().findChild<TFolderPropertiesDialog*>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    const QString modified = dialog->findChild<QLabel*>(QStringLiteral("ModifiedLabel"))->text();
    QVERIFY2(modified.startsWith(QStringLiteral("on 20")), qPrintable(modified));
    dialog->close();
    QTRY_VERIFY(!tree().findChild<TFolderPropertiesDialog*>());
    QDir(desk("B1")).removeRecursively();
    rightClick(node("B1"), "properties");
    QCOMPARE(m_errors.size(), 1);
}

QTEST_MAIN(TTreeContextMenuTest)
#include "tree_context_menu_test.moc"
