#include "engine/engine.h"
#include "engine/folder_operations_linux.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/platform/fd_linux.h"

namespace engine {
namespace {

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// ext4, xfs and tmpfs count one link per sub-folder on top of "." and the parent's entry;
// btrfs and overlay always report 1, which says nothing.
bool MayHaveSubFolders(const struct stat& status) {
    return status.st_nlink != 2;
}

bool MayBeFolder(unsigned char type) {
    return type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN;
}

} // namespace

std::vector<TSubFolder> ListSubFolders(const std::string& path) {
    std::vector<TSubFolder> folders;
    platform::TFd opened = platform::OpenAbsolute(path, O_RDONLY | O_DIRECTORY);
    const std::unique_ptr<DIR, TDirCloser> dir(opened.valid() ? ::fdopendir(opened.get())
                                                              : nullptr);
    if (!dir) return folders;
    opened.release(); // closedir closes it
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.' || !MayBeFolder(entry->d_type)) continue;
        struct stat status {};
        if (::fstatat(dirFd, entry->d_name, &status, 0) != 0 || !S_ISDIR(status.st_mode)) continue;
        folders.push_back({entry->d_name, MayHaveSubFolders(status)});
    }
    return folders;
}

TFolderProbe ProbeFolder(const std::string& path) {
    const platform::TFd opened = platform::OpenAbsolute(path, O_PATH);
    struct stat status {};
    if (!opened.valid() || ::fstat(opened.get(), &status) != 0) return {.Error = errno};
    if (!S_ISDIR(status.st_mode)) return {.Error = ENOTDIR};
    return {true, MayHaveSubFolders(status)};
}

std::string CurrentFolderPath() {
    const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    return path ? std::string(path.get()) : std::string();
}

} // namespace engine
