// The Windows namespace on the shell that runs it (Wine's in the test run): the desktop's
// items, parsing names, id comparison, renaming through SetNameOf and the shell menu's verbs.
#include <memory>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "ui/namespace/namespace_win.h"
#include "ui/tree/shell_tree_view.h"

namespace {

TShellFolderObject& Desktop() {
    return *DesktopEntry().FolderObject;
}

std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

// The parsing name the tree shows for a full id, with the "::{" rule applied.
std::string SelectedPathOf(const TItemIdList& fullId) {
    return ShellDisplayName(&Desktop(), fullId, TNameForm::ForParsing);
}

TItemIdList Parse(const std::string& path) {
    const auto id = ShellNamespace().parseDisplayName(path);
    if (!id) qFatal("the shell can't parse %s", path.c_str());
    return *id;
}

// The verbs of every command the shell's menu offers for the folder at `path`.
QStringList MenuVerbs(const std::string& path, UINT flags = CMF_EXPLORE | CMF_CANRENAME) {
    const TItemIdList full = Parse(path);
    const TItemIdList parentId(full.begin(), full.end() - 1);
    const auto parent = Desktop().bindToObject(parentId);
    const TComPtr<IContextMenu> menu = ContextMenuOf(parent.get(), {full.back()}, nullptr);
    if (!menu) return {};
    const HMENU popup = CreatePopupMenu();
    menu->QueryContextMenu(popup, 0, 1, 0x7FFF, flags);
    QStringList verbs;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id >= 1 && id <= 0x7FFF) verbs << CommandVerb(menu.get(), id - 1).toLower();
    }
    DestroyMenu(popup);
    return verbs;
}

bool RunsUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

} // namespace

class TWindowsNamespaceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_scope = std::make_unique<TShellNamespaceScope>(std::make_unique<TWindowsNamespace>());
    }

    void cleanupTestCase() { m_scope.reset(); }

    // Folders only, the computer (a virtual item) among them; the desktop itself is its folder.
    void desktopHoldsTheComputerAndItsOwnFolder() {
        const auto children = Desktop().enumFolders();
        QVERIFY(children && !children->empty());
        const auto computer = ShellNamespace().specialFolderLocation("rfMyComputer");
        QVERIFY(computer);
        bool found = false;
        for (const TItemIdList& child : *children) {
            QVERIFY(Desktop().attributesOf(child, TItemAttribute::Folder));
            QVERIFY(!Desktop().displayNameOf(child, TNameForm::InFolder).empty());
            found = found || Desktop().compareIds(child, *computer) == 0;
        }
        QVERIFY(found);
        QVERIFY(SelectedPathOf({}).find(":\\") != std::string::npos);
    }

    void givesThePathOfEachKindOfItem_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected"); // empty: no ":\" at all
        QTest::newRow("a drive ends in its separator") << QString("C:\\") << "C:\\";
        QTest::newRow("a folder has none at the end") << QString("temp") << "temp";
        QTest::newRow("the computer is no path") << QString("rfMyComputer") << "";
    }
    void givesThePathOfEachKindOfItem() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        std::string want = expected.toStdString();
        TItemIdList id;
        if (path == u"rfMyComputer") {
            id = *ShellNamespace().specialFolderLocation("rfMyComputer");
        } else if (path == u"temp") {
            want = Native(m_dir.path());
            id = Parse(want);
        } else {
            id = Parse(path.toStdString());
        }
        const std::string selected = SelectedPathOf(id);
        if (want.empty()) {
            QVERIFY2(selected.find(":\\") == std::string::npos, selected.c_str());
            QVERIFY(!selected.empty() && !selected.starts_with("::{"));
        } else {
            QCOMPARE(QString::fromStdString(selected).toLower(),
                     QString::fromStdString(want).toLower());
        }
    }

    void comparesIdsOfOneItemAsEqual() {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("a")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("b")));
        const TItemIdList a = Parse(Native(m_dir.filePath(QStringLiteral("a"))));
        QCOMPARE(Desktop().compareIds(a, Parse(Native(m_dir.filePath(QStringLiteral("a"))))), 0);
        QVERIFY(Desktop().compareIds(a, Parse(Native(m_dir.filePath(QStringLiteral("b"))))) < 0);
    }

    // The new id names the new folder; renaming onto an existing folder is refused.
    void renamesARealFolderThroughTheShell() {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("旧")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("taken")));
        const TItemIdList full = Parse(Native(m_dir.filePath(QStringLiteral("旧"))));
        const auto parent = Desktop().bindToObject(TItemIdList(full.begin(), full.end() - 1));
        QVERIFY(parent->attributesOf({full.back()}, TItemAttribute::CanRename));
        const auto renamed = parent->setNameOf({full.back()}, "新");
        QVERIFY(renamed);
        QVERIFY(QDir(m_dir.filePath(QStringLiteral("新"))).exists());
        QVERIFY(!QDir(m_dir.filePath(QStringLiteral("旧"))).exists());
        QCOMPARE(parent->displayNameOf(*renamed, TNameForm::InFolder), std::string("新"));
        QVERIFY(!parent->setNameOf(*renamed, "taken"));
        QVERIFY(QDir(m_dir.filePath(QStringLiteral("新"))).exists());
    }

    // Wine's shell differs from Windows' in its folder menu: it drops "rename" when asked with
    // CMF_EXPLORE too (the tree adds its own then), and offers no "paste" for a folder.
    void shellMenuOffersTheTreesVerbs() {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("menu")));
        const std::string folder = Native(m_dir.filePath(QStringLiteral("menu")));
        const QStringList verbs = MenuVerbs(folder);
        QVERIFY2(verbs.contains(verbs::Delete), qPrintable(verbs.join(QLatin1Char(' '))));
        QVERIFY(verbs.contains(QStringLiteral("properties")));
        QVERIFY(MenuVerbs(folder, CMF_CANRENAME).contains(verbs::Rename));
        if (RunsUnderWine()) QEXPECT_FAIL("", "Wine's folder menu has no Paste", Continue);
        QVERIFY(verbs.contains(verbs::Paste));
    }

    // The tree on the real desktop: its top node lists the desktop's folder, nodes carry the
    // system image list's icons, and a drive selected by its path gives its root.
    void treeShowsTheDesktopWithTheSystemsIcons() {
        TShellTreeView tree;
        std::vector<std::string> paths;
        connect(&tree, &TShellTreeView::changed, this,
                [&] { paths.push_back(tree.selectedPath()); });
        tree.buildRoot();
        QTreeWidgetItem* top = tree.topLevelItem(0);
        QVERIFY(top && top->childCount() > 0);
        QCOMPARE(paths.size(), 1u);
        QVERIFY(paths.front().find(":\\") != std::string::npos);
        QVERIFY(!top->icon(0).isNull());
        for (int i = 0; i < top->childCount(); ++i)
            QVERIFY2(!top->child(i)->icon(0).isNull(), qPrintable(top->child(i)->text(0)));
        QVERIFY(tree.selectPath("C:\\"));
        QCOMPARE(tree.selectedPath(), std::string("C:\\"));
        QCOMPARE(paths.back(), std::string("C:\\"));
        // A shared folder's node carries the system's sharing mark over its picture.
        const int folderIcon = 3; // the system list's closed folder
        if (RunsUnderWine())
            QEXPECT_FAIL("", "Wine's system image list has no overlay images", Continue);
        QVERIFY(SystemSmallIcon(folderIcon, 1).pixmap(16).toImage() !=
                SystemSmallIcon(folderIcon).pixmap(16).toImage());
    }

private:
    std::unique_ptr<TShellNamespaceScope> m_scope;
    QTemporaryDir m_dir;
};

QTEST_MAIN(TWindowsNamespaceTest)
#include "namespace_test_win.moc"
