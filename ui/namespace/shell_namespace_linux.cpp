#include "engine/folder_operations_linux.h"
#include "ui/namespace/shell_namespace.h"

#include <algorithm>
#include <array>
#include <string_view>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStorageInfo>

#include "ui/namespace/namespace_linux.h"

namespace {

bool IsBelow(std::string_view path, std::string_view folder) {
    return !folder.empty() && path.size() > folder.size() + 1 && path.starts_with(folder) &&
           path[folder.size()] == '/';
}

std::vector<TMount> MountedVolumes() {
    std::vector<TMount> mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        mounts.push_back({QFile::encodeName(volume.rootPath()).toStdString(),
                          volume.fileSystemType().toStdString()});
    return mounts;
}

} // namespace

bool IsNetworkMount(const TMount& mount) {
    static constexpr std::array<std::string_view, 9> networkTypes{
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "sshfs", "9p", "ceph"};
    return std::find(networkTypes.begin(), networkTypes.end(), mount.FileSystemType) !=
           networkTypes.end();
}

bool IsUserVolume(const TMount& mount, const TNamespacePlaces& places) {
    static constexpr std::array<std::string_view, 4> systemTypes{"tmpfs", "overlay", "squashfs",
                                                                 "autofs"};
    if (IsNetworkMount(mount) || std::find(systemTypes.begin(), systemTypes.end(),
                                           mount.FileSystemType) != systemTypes.end())
        return false;
    const std::string& path = mount.RootPath;
    return IsBelow(path, "/media") || IsBelow(path, "/mnt") || IsBelow(path, places.HomePath) ||
           (!places.UserName.empty() && IsBelow(path, "/run/media/" + places.UserName));
}

std::vector<std::string> NetworkShares(const TNamespacePlaces& places) {
    std::vector<std::string> shares;
    for (const TMount& mount : places.Mounts ? places.Mounts() : std::vector<TMount>{})
        if (IsNetworkMount(mount)) shares.push_back(mount.RootPath);
    if (!places.GvfsPath.empty())
        for (const auto& share : places.ListSubFolders(places.GvfsPath))
            shares.push_back((places.GvfsPath == "/" ? "" : places.GvfsPath) + "/" + share.Name);
    return shares;
}

std::vector<std::string> UserVolumes(const TNamespacePlaces& places) {
    std::vector<std::string> volumes;
    for (const TMount& mount : places.Mounts ? places.Mounts() : std::vector<TMount>{})
        if (IsUserVolume(mount, places)) volumes.push_back(mount.RootPath);
    return volumes;
}

TNamespacePlaces CurrentUserPlaces() {
    TNamespacePlaces places;
    places.HomePath = QFile::encodeName(QDir::homePath()).toStdString();
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const bool hasDesktop = !desktop.isEmpty() && QDir(desktop).exists();
    if (hasDesktop) places.DesktopPath = QFile::encodeName(desktop).toStdString();
    places.UserName = qEnvironmentVariable("USER").toStdString();
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) places.GvfsPath = runtime.toStdString() + "/gvfs";
    places.Mounts = &MountedVolumes;
    return places;
}

std::unique_ptr<TShellNamespace> CreateUserNamespace() {
    return std::make_unique<TLinuxNamespace>(CurrentUserPlaces());
}

// The Linux namespace is our own: it needs no object services.
void StartShellServices() {}
void StopShellServices() {}
