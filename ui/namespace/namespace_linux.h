#pragma once
// The namespace of a Linux desktop: 桌面 on top, holding 主文件夹, 计算机 (文件系统 and the
// user's volumes), 网络 (network mounts), 回收站, then the desktop folder's own sub-folders.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "ui/namespace/shell_namespace.h"

// One mounted file system.
struct TMount {
    std::string RootPath; // raw bytes
    std::string FileSystemType;
};

// Where the namespace finds things; tests root it in a folder of their own.
struct TNamespacePlaces {
    // The folder that holds the desktop's files; empty when there is none, and the desktop is
    // then a virtual item (listing home instead would offer its dot files to a batch rename).
    std::string DesktopPath;
    std::string HomePath;
    std::string UserName;
    std::string GvfsPath; // the folder of GVFS network shares; empty: none
    std::function<std::vector<TMount>()> Mounts;
    std::function<std::vector<engine::TSubFolder>(const std::string&)> ListSubFolders =
        &engine::ListSubFolders;
};

// The places of the user running the program. Reads the environment and the mount table.
TNamespacePlaces CurrentUserPlaces();

// A volume the user mounted (a disk under /media, /run/media/<user>, /mnt or the home
// folder), not a system or memory file system and not a network share. Pure.
bool IsUserVolume(const TMount& mount, const TNamespacePlaces& places);
// A share mounted over the network (NFS, SMB, SSHFS, 9p, Ceph). Pure.
bool IsNetworkMount(const TMount& mount);
// The roots of the network shares: network mounts, then GVFS's shares. Reads the mounts and
// GVFS's folder through `places`.
std::vector<std::string> NetworkShares(const TNamespacePlaces& places);
// The roots of the user's volumes. Reads the mounts through `places`.
std::vector<std::string> UserVolumes(const TNamespacePlaces& places);

class TLinuxNamespace : public TShellNamespace {
public:
    explicit TLinuxNamespace(TNamespacePlaces places);

    std::shared_ptr<TShellFolderObject> desktopFolder() override;
    std::optional<TItemIdList> specialFolderLocation(std::string_view rootName) override;
    std::optional<TItemIdList> parseDisplayName(const std::string& path) override;

private:
    std::shared_ptr<const TNamespacePlaces> m_places;
    std::shared_ptr<TShellFolderObject> m_desktop;
};
