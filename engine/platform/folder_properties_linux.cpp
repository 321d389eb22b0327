#include "engine/engine.h"
#include "engine/folder_operations_linux.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#include "engine/messages.h"
#include "engine/platform/fd_linux.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

// Adds what lies inside the folder open as `dirFd`; folders that can't be read add nothing.
void AddContents(int dirFd, TFolderProperties& properties) {
    std::vector<std::string> names;
    platform::ListNames(dirFd, names);
    for (const std::string& name : names) {
        struct stat entry {};
        if (::fstatat(dirFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(entry.st_mode)) {
            ++properties.FileCount;
            if (S_ISREG(entry.st_mode))
                properties.ContentBytes += static_cast<std::uint64_t>(entry.st_size);
            continue;
        }
        ++properties.FolderCount;
        const platform::TFd child = platform::OpenFolder(dirFd, name);
        if (child.valid()) AddContents(child.get(), properties);
    }
}

} // namespace

TFolderProperties ReadFolderProperties(const std::string& path) {
    const platform::TFd folder = platform::OpenAbsolute(path, O_RDONLY | O_DIRECTORY);
    struct stat own {};
    if (!folder.valid() || ::fstat(folder.get(), &own) != 0)
        throw TError(
            messages::Format(messages::PropertiesUnreadable, path, RenameFailureText(errno)));
    TFolderProperties properties;
    properties.Mode = own.st_mode;
    platform::LocalTime(own.st_mtim.tv_sec, properties.Modified);
    AddContents(folder.get(), properties);
    return properties;
}

} // namespace engine
