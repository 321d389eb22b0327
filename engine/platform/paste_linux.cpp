// Paste, new folder and delete for good: the folder operations of the tree's context menu.
#include "engine/engine.h"
#include "engine/folder_operations_linux.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/messages.h"
#include "engine/platform/copy_tree.h"
#include "engine/platform/fd_linux.h"

namespace engine {
namespace {

using platform::TFd;

// Far more tries than anyone keeps copies; stops a loop on a file system that lies.
constexpr int MaxNameTries = 100000;

// An absolute source path cut into its folder and its last name ("/a/b/" gives "/a" and "b").
struct TSourcePath {
    std::string Folder;
    std::string Name;
};

bool SplitSource(std::string path, TSourcePath& split) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const auto slash = path.rfind('/');
    if (path.empty() || path[0] != '/' || path.size() == 1 || path.find('\0') != std::string::npos)
        return false;
    split.Folder = slash == 0 ? "/" : path.substr(0, slash);
    split.Name = path.substr(slash + 1);
    return split.Name != "." && split.Name != "..";
}

TFd OpenPath(const std::string& path) {
    return platform::OpenAbsolute(path, O_PATH | O_DIRECTORY);
}

bool SameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `folder` is the folder open as `fd` or one of its ancestors (walking "..", so links
// and mount points in the path don't fool it).
bool IsSelfOrAncestor(const struct stat& folder, int fd) {
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

void RefuseSourcesAboveTarget(int targetFd, const std::vector<std::string>& sources) {
    for (const std::string& source : sources) {
        TSourcePath split;
        struct stat entry {};
        if (!SplitSource(source, split)) continue;
        const TFd folder = OpenPath(split.Folder);
        if (folder.valid() &&
            ::fstatat(folder.get(), split.Name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(entry.st_mode) && IsSelfOrAncestor(entry, targetFd))
            throw TError(messages::Format(messages::PasteIntoItself, source));
    }
}

// Tries NumberedName 1, 2, ... with `attempt`, which answers EEXIST while a name is taken.
template <typename Attempt>
int FirstFreeName(const std::string& name, bool isFolder, std::string& made, Attempt&& attempt) {
    for (int number = 1; number <= MaxNameTries; ++number) {
        const std::string candidate = NumberedName(name, isFolder, number);
        const int err = attempt(candidate);
        if (err != EEXIST) {
            made = candidate;
            return err;
        }
    }
    return EEXIST;
}

bool IsFolderEntry(int dirFd, const std::string& name) {
    struct stat entry {};
    return ::fstatat(dirFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(entry.st_mode);
}

// Copies `name` of `fromDir` to a free name in `toDir`; TargetName stays empty unless made.
void CopyToFreeName(int fromDir, const std::string& name, int toDir, TPasteResult& result) {
    std::string candidate;
    platform::TCopyOutcome copied;
    const int err = FirstFreeName(name, IsFolderEntry(fromDir, name), candidate,
                                  [&](const std::string& tryName) {
                                      copied = platform::CopyEntry(fromDir, name, toDir, tryName);
                                      return copied.Made ? 0 : copied.Error;
                                  });
    result.Error = copied.Made ? copied.Error : err;
    if (copied.Made) result.TargetName = candidate;
}

int RenameNoReplace(int fromDir, const std::string& from, int toDir, const std::string& to) {
    return ::renameat2(fromDir, from.c_str(), toDir, to.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
}

bool LiesIn(int folderFd, int targetFd) {
    struct stat folder {
    }, target{};
    return ::fstat(folderFd, &folder) == 0 && ::fstat(targetFd, &target) == 0 &&
           SameEntry(folder, target);
}

// A move renames when it can; across file systems, or where the file system has no
// no-replace rename, it copies and deletes the source only after a complete copy.
void MoveToFreeName(int fromDir, const std::string& name, int toDir, TPasteResult& result) {
    if (LiesIn(fromDir, toDir)) {
        struct stat entry {};
        if (::fstatat(fromDir, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
            result.Error = errno;
        else
            result.TargetName = name;
        return;
    }
    std::string candidate;
    const int err = FirstFreeName(
        name, IsFolderEntry(fromDir, name), candidate,
        [&](const std::string& tryName) { return RenameNoReplace(fromDir, name, toDir, tryName); });
    if (err != EXDEV && err != EINVAL) {
        result.Error = err;
        if (err == 0) result.TargetName = candidate;
        return;
    }
    CopyToFreeName(fromDir, name, toDir, result);
    if (result.Error == 0) result.Error = platform::RemoveEntry(fromDir, name);
}

TPasteResult PasteOne(int targetFd, const std::string& source, TPasteMode mode) {
    TPasteResult result{source, {}, 0};
    TSourcePath split;
    if (!SplitSource(source, split)) {
        result.Error = rrInvalidName;
        return result;
    }
    const TFd folder = OpenPath(split.Folder);
    if (!folder.valid()) {
        result.Error = errno;
        return result;
    }
    if (mode == TPasteMode::pmMove)
        MoveToFreeName(folder.get(), split.Name, targetFd, result);
    else
        CopyToFreeName(folder.get(), split.Name, targetFd, result);
    return result;
}

} // namespace

std::vector<TPasteResult> PasteInto(const std::string& targetFolder,
                                    const std::vector<std::string>& sources, TPasteMode mode) {
    const TFd target = OpenPath(targetFolder);
    if (!target.valid())
        throw TError(messages::Format(messages::PasteTargetUnusable, targetFolder,
                                      RenameFailureText(errno)));
    RefuseSourcesAboveTarget(target.get(), sources);
    std::vector<TPasteResult> results;
    for (const std::string& source : sources)
        results.push_back(PasteOne(target.get(), source, mode));
    return results;
}

std::string MakeNewFolder(const std::string& parentFolder) {
    const TFd parent = OpenPath(parentFolder);
    int err = parent.valid() ? 0 : errno;
    std::string made;
    if (err == 0)
        err = FirstFreeName(std::string(messages::NewFolderName), true, made,
                            [&](const std::string& name) {
                                return ::mkdirat(parent.get(), name.c_str(), 0777) == 0 ? 0 : errno;
                            });
    if (err != 0)
        throw TError(
            messages::Format(messages::NewFolderFailed, parentFolder, RenameFailureText(err)));
    return made;
}

int DeleteTree(const std::string& path) {
    TSourcePath split;
    if (!SplitSource(path, split)) return EINVAL;
    const TFd folder = OpenPath(split.Folder);
    if (!folder.valid()) return errno;
    return platform::RemoveEntry(folder.get(), split.Name);
}

} // namespace engine
