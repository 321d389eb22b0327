#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "tree_clipboard_linux.h"
#include "tree_menu_fixture.h"
#include "ui/tree/folder_properties_dialog_linux.h"
#include "ui/tree/shell_tree_menu_linux.h"

class TTreeContextMenuTest : public QObject, public TTreeMenuFixture {
    Q_OBJECT
private slots:
    void initTestCase() { keepTrashInScratch(); }
    void init() { startTree(MenuTestFolders); }
    void cleanup() { stopTree(); }
    void enablesWhatMakesSenseForTheItem_data();
    void enablesWhatMakesSenseForTheItem();
    void anUnchangedLabelKeepsTheNameItShowsApproximately_data();
    void anUnchangedLabelKeepsTheNameItShowsApproximately();
    void placesCannotBeRenamed();
    void theRealMenuCarriesOutTheChosenVerb();
    void opensInTheFileManagerFromTheParentDirectory();
    void showsProperties();
};

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

void TTreeContextMenuTest::placesCannotBeRenamed() {
    QVERIFY(!TShellTreeNodes::renameItem(TShellTreeNodes::entryOf(node("主文件夹")), "elsewhere"));
    QVERIFY(QFile::exists(desk("../home")));
    QCOMPARE(m_errors, QStringList());
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
#include "tree_context_menu_test_linux.moc"
