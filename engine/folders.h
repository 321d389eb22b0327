#pragma once
// Folders as the tree and the command line see them, and the names folder operations make.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/error.h"

namespace engine {

// What one stat of `path` (links followed) tells: whether it is a folder, and whether it may
// hold sub-folders by the same link-count rule. Reads the disk; never throws.
struct TFolderProbe {
    bool IsFolder = false;
    bool HasSubFolders = false;
    int Error = 0; // why it is no folder: the system's error code
};
TFolderProbe ProbeFolder(const std::string& path);

// The process's working folder (raw bytes); empty when it can't be read. Asks the system;
// never throws.
std::string CurrentFolderPath();

// The name that try `number` of a free-name search gives: `name` itself for 1, else
// "name (2)", "name (3)" ...; a file keeps its extension last ("a (2).txt"), a folder or a
// name that starts with its only "." does not ("dir.d (2)", ".bashrc (2)"). Pure.
std::string NumberedName(std::string_view name, bool isFolder, int number);

// "drwxr-xr-x" from an st_mode, with s/S and t/T for the set-id and sticky bits. Pure.
std::string PermissionText(std::uint32_t mode);

// The permission bits of an st_mode as four octal digits ("0755", "1777"). Pure.
std::string OctalPermissionText(std::uint32_t mode);

// Whether a folder whose link count is `linkCount` may hold sub-folders. Pure.
bool MayHaveSubFolders(std::uint64_t linkCount);

// One sub-folder as the folder tree shows it.
struct TSubFolder {
    std::string Name;          // raw bytes, as the directory holds them
    bool HasSubFolders = true; // false only when the link count proves there are none
};

} // namespace engine
