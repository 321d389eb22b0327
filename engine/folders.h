#pragma once
// Folders as the tree and the command line see them.

#include <cstdint>
#include <string>

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

// Whether a folder whose link count is `linkCount` may hold sub-folders. Pure.
bool MayHaveSubFolders(std::uint64_t linkCount);

// One sub-folder as the folder tree shows it.
struct TSubFolder {
    std::string Name;          // raw bytes, as the directory holds them
    bool HasSubFolders = true; // false only when the link count proves there are none
};

} // namespace engine
