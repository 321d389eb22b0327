// The folder tree's calls below open folders.
#include "engine/platform/folder_tree_linux.h"

#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine::platform {
namespace {

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool SameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool MayBeFolder(unsigned char type) {
    return type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN;
}

void AddContents(int dirFd, TTreeTotals& totals) {
    std::vector<std::string> names;
    ListNames(dirFd, names);
    for (const std::string& name : names) {
        struct stat entry {};
        if (::fstatat(dirFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(entry.st_mode)) {
            ++totals.FileCount;
            if (S_ISREG(entry.st_mode))
                totals.ContentBytes += static_cast<std::uint64_t>(entry.st_size);
            continue;
        }
        ++totals.FolderCount;
        const TFd child = OpenFolder(dirFd, name);
        if (child.valid()) AddContents(child.get(), totals);
    }
}

} // namespace

TFd OpenFolderPath(const std::string& path) {
    return OpenAbsolute(path, O_PATH | O_DIRECTORY);
}

bool IsFolderEntry(int dirFd, const std::string& name) {
    struct stat entry {};
    return ::fstatat(dirFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(entry.st_mode);
}

int LookUpEntry(int dirFd, const std::string& name) {
    struct stat entry {};
    return ::fstatat(dirFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

bool IsSameFolder(int a, int b) {
    struct stat first {
    }, second{};
    return ::fstat(a, &first) == 0 && ::fstat(b, &second) == 0 && SameEntry(first, second);
}

bool IsFolderAtOrAbove(int dirFd, const std::string& name, int fd) {
    struct stat folder {};
    if (::fstatat(dirFd, name.c_str(), &folder, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(folder.st_mode))
        return false;
    TFd current(::openat(fd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (int depth = 0; current.valid() && depth < 4096; ++depth) {
        struct stat here {
        }, parent{};
        if (::fstat(current.get(), &here) != 0) return false;
        if (SameEntry(here, folder)) return true;
        TFd up(::openat(current.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!up.valid() || ::fstat(up.get(), &parent) != 0 || SameEntry(parent, here)) return false;
        current = std::move(up);
    }
    return false;
}

int RenameNoReplace(int fromDir, const std::string& from, int toDir, const std::string& to) {
    return ::renameat2(fromDir, from.c_str(), toDir, to.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int MakeFolder(int dirFd, const std::string& name) {
    return ::mkdirat(dirFd, name.c_str(), 0777) == 0 ? 0 : errno;
}

int ReadTreeTotals(const std::string& path, TTreeTotals& totals) {
    const TFd folder = OpenAbsolute(path, O_RDONLY | O_DIRECTORY);
    struct stat own {};
    if (!folder.valid() || ::fstat(folder.get(), &own) != 0) return errno;
    totals.Mode = own.st_mode;
    totals.ModifiedSeconds = own.st_mtim.tv_sec;
    AddContents(folder.get(), totals);
    return 0;
}

std::vector<TFolderLinks> ReadSubFolders(const std::string& path,
                                         const std::function<bool(std::string_view)>& wanted) {
    std::vector<TFolderLinks> folders;
    TFd opened = OpenAbsolute(path, O_RDONLY | O_DIRECTORY);
    const std::unique_ptr<DIR, TDirCloser> dir(opened.valid() ? ::fdopendir(opened.get())
                                                              : nullptr);
    if (!dir) return folders;
    opened.release(); // closedir closes it
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsDotOrDotDot(entry->d_name) || !MayBeFolder(entry->d_type) || !wanted(entry->d_name))
            continue;
        struct stat status {};
        if (::fstatat(dirFd, entry->d_name, &status, 0) != 0 || !S_ISDIR(status.st_mode)) continue;
        folders.push_back({entry->d_name, status.st_nlink});
    }
    return folders;
}

} // namespace engine::platform
