// Paste, new folder, delete for good, properties and sub-folders: the folder operations of
// the tree's context menu, over the platform's calls.
#include "engine/folder_operations_linux.h"

#include <cerrno>

#include "engine/engine.h"
#include "engine/messages.h"
#include "engine/platform/folder_tree_linux.h"
#include "engine/platform/platform.h"

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

void RefuseSourcesAboveTarget(int targetFd, const std::vector<std::string>& sources) {
    for (const std::string& source : sources) {
        TSourcePath split;
        if (!SplitSource(source, split)) continue;
        const TFd folder = platform::OpenFolderPath(split.Folder);
        if (folder.valid() && platform::IsFolderAtOrAbove(folder.get(), split.Name, targetFd))
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

// Copies `name` of `fromDir` to a free name in `toDir`; TargetName stays empty unless made.
void CopyToFreeName(int fromDir, const std::string& name, int toDir, TPasteResult& result) {
    std::string candidate;
    platform::TCopyOutcome copied;
    const int err = FirstFreeName(name, platform::IsFolderEntry(fromDir, name), candidate,
                                  [&](const std::string& tryName) {
                                      copied = platform::CopyEntry(fromDir, name, toDir, tryName);
                                      return copied.Made ? 0 : copied.Error;
                                  });
    result.Error = copied.Made ? copied.Error : err;
    if (copied.Made) result.TargetName = candidate;
}

// A move renames when it can; across file systems, or where the file system has no
// no-replace rename, it copies and deletes the source only after a complete copy.
void MoveToFreeName(int fromDir, const std::string& name, int toDir, TPasteResult& result) {
    if (platform::IsSameFolder(fromDir, toDir)) {
        result.Error = platform::LookUpEntry(fromDir, name);
        if (result.Error == 0) result.TargetName = name;
        return;
    }
    std::string candidate;
    const int err = FirstFreeName(
        name, platform::IsFolderEntry(fromDir, name), candidate, [&](const std::string& tryName) {
            return platform::RenameNoReplace(fromDir, name, toDir, tryName);
        });
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
    const TFd folder = platform::OpenFolderPath(split.Folder);
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
    const TFd target = platform::OpenFolderPath(targetFolder);
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
    const TFd parent = platform::OpenFolderPath(parentFolder);
    int err = parent.valid() ? 0 : errno;
    std::string made;
    if (err == 0)
        err = FirstFreeName(
            std::string(messages::NewFolderName), true, made,
            [&](const std::string& name) { return platform::MakeFolder(parent.get(), name); });
    if (err != 0)
        throw TError(
            messages::Format(messages::NewFolderFailed, parentFolder, RenameFailureText(err)));
    return made;
}

int DeleteTree(const std::string& path) {
    TSourcePath split;
    if (!SplitSource(path, split)) return EINVAL;
    const TFd folder = platform::OpenFolderPath(split.Folder);
    if (!folder.valid()) return errno;
    return platform::RemoveEntry(folder.get(), split.Name);
}

TFolderProperties ReadFolderProperties(const std::string& path) {
    platform::TTreeTotals totals;
    if (const int error = platform::ReadTreeTotals(path, totals); error != 0)
        throw TError(
            messages::Format(messages::PropertiesUnreadable, path, RenameFailureText(error)));
    TFolderProperties properties{.ContentBytes = totals.ContentBytes,
                                 .FileCount = totals.FileCount,
                                 .FolderCount = totals.FolderCount,
                                 .Modified = {},
                                 .Mode = totals.Mode};
    platform::LocalTime(totals.ModifiedSeconds, properties.Modified);
    return properties;
}

std::vector<TSubFolder> ListSubFolders(const std::string& path) {
    std::vector<TSubFolder> folders;
    const auto shown = [](std::string_view name) { return !name.starts_with('.'); }; // not hidden
    for (auto& folder : platform::ReadSubFolders(path, shown))
        folders.push_back({std::move(folder.Name), MayHaveSubFolders(folder.LinkCount)});
    return folders;
}

} // namespace engine
