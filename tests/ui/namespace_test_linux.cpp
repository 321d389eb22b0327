// The Linux namespace: mounts, the desktop's items, names, parsing and renaming.
#include <algorithm>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "engine/folder_operations_linux.h"
#include "tests/ui/scoped_environment.h"
#include "ui/namespace/namespace_linux.h"

namespace {

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A namespace whose desktop (unless left out) and home are folders of a temporary folder.
struct TTempNamespace {
    QTemporaryDir dir;
    std::unique_ptr<TLinuxNamespace> shellNamespace;
    std::shared_ptr<TShellFolderObject> desktop;

    explicit TTempNamespace(const QStringList& desktopFolders, bool withDesktop = true) {
        QDir(dir.path()).mkpath(QStringLiteral("home/inner"));
        for (const QString& folder : desktopFolders)
            QDir(dir.path()).mkpath(QStringLiteral("desk/") + folder);
        TNamespacePlaces places;
        if (withDesktop) places.DesktopPath = path("desk");
        places.HomePath = path("home");
        places.Mounts = [] { return std::vector<TMount>{{"/media/stick", "vfat"}}; };
        shellNamespace = std::make_unique<TLinuxNamespace>(places);
        desktop = shellNamespace->desktopFolder();
    }
    std::string path(const QString& relative) const { return Bytes(dir.path() + "/" + relative); }
    QStringList childNames(TShellFolderObject& folder, std::vector<TItemIdList>& ids) const {
        ids = *folder.enumFolders();
        std::sort(ids.begin(), ids.end(),
                  [&](const auto& a, const auto& b) { return folder.compareIds(a, b) < 0; });
        QStringList names;
        for (const auto& id : ids)
            names << QString::fromStdString(folder.displayNameOf(id, TNameForm::InFolder));
        return names;
    }
};

} // namespace

class TLinuxNamespaceTest : public QObject {
    Q_OBJECT
private slots:
    void classifiesMounts() {
        const struct {
            const char *name, *path, *type;
            bool volume, network;
        } rows[] = {
            {"usb stick", "/media/usb", "vfat", true, false},
            {"own removable", "/run/media/alice/DISK", "ext4", true, false},
            {"other user's", "/run/media/bob/DISK", "ext4", false, false},
            {"under /mnt", "/mnt/data", "xfs", true, false},
            {"in home", "/home/alice/box", "fuse.bindfs", true, false},
            {"home itself", "/home/alice", "ext4", false, false},
            {"mount folder itself", "/media", "ext4", false, false},
            {"memory", "/mnt/ram", "tmpfs", false, false},
            {"snap", "/media/snap", "squashfs", false, false},
            {"overlay", "/mnt/ov", "overlay", false, false},
            {"automount", "/mnt/auto", "autofs", false, false},
            {"system root", "/", "ext4", false, false},
            {"sibling of home", "/home/alicebox", "ext4", false, false},
            {"nfs under /mnt", "/mnt/share", "nfs4", false, true},
            {"smb anywhere", "/srv/smb", "cifs", false, true},
            {"sshfs in home", "/home/alice/remote", "fuse.sshfs", false, true},
        };
        TNamespacePlaces places;
        places.HomePath = "/home/alice";
        places.UserName = "alice";
        for (const auto& r : rows) {
            const TMount mount{r.path, r.type};
            QVERIFY2(IsUserVolume(mount, places) == r.volume, r.name);
            QVERIFY2(IsNetworkMount(mount) == r.network, r.name);
        }
    }

    // Their names in every form, too.
    void desktopHoldsVirtualItemsThenFoldersInNaturalOrder() {
        TTempNamespace temp({"b10", "B2", "a", ".hidden"});
        std::vector<TItemIdList> ids;
        QCOMPARE(temp.childNames(*temp.desktop, ids),
                 QStringList({"主文件夹", "计算机", "网络", "回收站", "a", "B2", "b10"}));
        QCOMPARE(temp.desktop->compareIds(ids[4], ids[4]), 0);
        QVERIFY(temp.desktop->compareIds(ids[5], ids[6]) < 0);
        QCOMPARE(temp.desktop->displayNameOf({}, TNameForm::Normal), "桌面");
        QCOMPARE(temp.desktop->displayNameOf({}, TNameForm::ForParsing), temp.path("desk"));
        QCOMPARE(temp.desktop->displayNameOf(ids[6], TNameForm::ForParsing), temp.path("desk/b10"));
        QCOMPARE(temp.desktop->displayNameOf(ids[0], TNameForm::ForParsing), temp.path("home"));
        QVERIFY(temp.desktop->displayNameOf(ids[2], TNameForm::ForParsing).starts_with("::{"));
        QVERIFY(!temp.desktop->attributesOf(ids[3], TItemAttribute::HasSubFolders));

        QVERIFY2(!temp.desktop->bindToObject(ids[3]), "the trash shows no folders");
        const auto computer = temp.desktop->bindToObject(ids[1]);
        QVERIFY(computer);
        QCOMPARE(temp.childNames(*computer, ids), QStringList({"文件系统", "stick"}));
    }

    void parsesPathsIntoIds() {
        TTempNamespace temp({"x/y"});
        TLinuxNamespace& names = *temp.shellNamespace;
        QCOMPARE(names.parseDisplayName(temp.path("desk/x/y/"))->size(), 2u); // from the desktop
        const std::pair<std::string, std::string> paths[] = {
            {temp.path("desk/x/y/"), temp.path("desk/x/y")},
            {temp.path("home/inner"), temp.path("home/inner")},
            {"/", "/"},
            {"/usr", "/usr"},
            {temp.path("desk/missing"), "none"},
            {temp.path("desk/x/../x"), "none"},
            {"relative", "none"}};
        for (const auto& [path, parsed] : paths) {
            const auto id = names.parseDisplayName(path);
            QCOMPARE(id ? temp.desktop->displayNameOf(*id, TNameForm::ForParsing) : "none", parsed);
        }
        QCOMPARE(names.specialFolderLocation("rfDesktop"), TItemIdList{});
        QVERIFY(!names.specialFolderLocation("rfNothing"));
    }

    void renamesPlainFoldersWithoutReplacing() {
        TTempNamespace temp({"old/inside", "taken"});
        std::vector<TItemIdList> ids;
        QCOMPARE(temp.childNames(*temp.desktop, ids).mid(4), QStringList({"old", "taken"}));
        const TItemIdList old = ids[4];
        for (const std::string& name :
             {std::string("taken"), std::string("a/b"), std::string(), std::string("x\0y", 3)})
            QVERIFY(!temp.desktop->setNameOf(old, name));
        QVERIFY(!QFile::exists(QString::fromStdString(temp.path("desk/x"))));
        QVERIFY(QFile::exists(QString::fromStdString(temp.path("desk/old/inside"))));
        const auto renamed = temp.desktop->setNameOf(old, "新\xff");
        QVERIFY(renamed);
        QCOMPARE(temp.desktop->displayNameOf(*renamed, TNameForm::InFolder), "新\xff");
        const std::string renamedPath = temp.path("desk") + "/新\xff";
        QVERIFY(engine::ProbeFolder(renamedPath + "/inside").IsFolder);
        engine::DeleteTree(renamedPath); // QTemporaryDir can't remove a name that is not UTF-8
        QVERIFY(!temp.desktop->setNameOf(ids[0], "home2"));
        QVERIFY(!temp.desktop->setNameOf(ids[3], "bin"));
        const auto home = temp.desktop->bindToObject(ids[0]);
        std::vector<TItemIdList> inHome;
        temp.childNames(*home, inHome);
        const auto deep = temp.desktop->setNameOf(ConcatItemIds(ids[0], inHome[0]), "outer");
        QVERIFY(deep);
        QVERIFY(engine::ProbeFolder(temp.path("home/outer")).IsFolder);
    }

    void offersWhatEachKindOfItemAllows() {
        TTempNamespace temp({"plain"});
        std::vector<TItemIdList> ids;
        temp.childNames(*temp.desktop, ids);
        const TItemAttributes all(0x1FF);
        const TItemAttributes place =
            TItemAttribute::CanCopy | TItemAttribute::HasPropertySheet | TItemAttribute::DropTarget;
        const TItemAttributes moving =
            TItemAttribute::CanRename | TItemAttribute::CanMove | TItemAttribute::CanDelete;
        const auto without = [&](const TItemIdList& id) {
            return temp.desktop->attributesOf(id, all) &
                   ~TItemAttributes(TItemAttribute::Folder | TItemAttribute::HasSubFolders);
        };
        ids.insert(ids.begin(), TItemIdList{}); // the desktop itself
        // The desktop, home, computer, network, trash, a folder.
        const TItemAttributes allowed[] = {place, place, {}, {}, {}, place | moving};
        for (std::size_t i = 0; i < ids.size(); ++i)
            QCOMPARE(without(ids[i]), allowed[i]);
    }

    void takesTheDesktopFolderOnlyWhenItExists() {
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral(".config")));
        const TScopedVariable homeVariable("HOME", QFile::encodeName(home.path()));
        const TScopedVariable config("XDG_CONFIG_HOME",
                                     QFile::encodeName(home.path() + "/.config"));
        QCOMPARE(CurrentUserPlaces().HomePath, Bytes(home.path()));
        QCOMPARE(CurrentUserPlaces().DesktopPath, std::string());
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
        QCOMPARE(CurrentUserPlaces().DesktopPath, Bytes(home.path() + "/Desktop"));
    }

    void aMissingDesktopStandsForNoFolder() {
        TTempNamespace temp({}, false);
        TLinuxNamespace& names = *temp.shellNamespace;
        TShellFolderObject& desktop = *temp.desktop;
        QCOMPARE(desktop.displayNameOf({}, TNameForm::Normal), "桌面");
        QVERIFY(desktop.displayNameOf({}, TNameForm::ForParsing).starts_with("::{"));
        QCOMPARE(desktop.attributesOf({}, TItemAttributes(0x1FF)),
                 TItemAttribute::Folder | TItemAttribute::HasSubFolders);
        std::vector<TItemIdList> ids = *desktop.enumFolders();
        QCOMPARE(ids.size(), 4u);
        QCOMPARE(desktop.displayNameOf(ids[0], TNameForm::ForParsing), temp.path("home"));
        const auto inHome = names.parseDisplayName(temp.path("home/inner"));
        QVERIFY(inHome);
        QCOMPARE(desktop.displayNameOf(*inHome, TNameForm::ForParsing), temp.path("home/inner"));
        QCOMPARE(desktop.displayNameOf(*names.parseDisplayName("/"), TNameForm::ForParsing), "/");
    }
};

QTEST_GUILESS_MAIN(TLinuxNamespaceTest)
#include "namespace_test_linux.moc"
