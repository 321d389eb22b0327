#pragma once
// The calls the folder tree's operations make on Linux: below open folders, never replacing
// and never following links. They decide nothing: each says what happened (0 or an errno, or
// errno set, as its comment tells).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/fd_linux.h"

namespace engine::platform {

// Opens the folder at the absolute `path` to work below it. Sets errno on failure.
TFd OpenFolderPath(const std::string& path);

// Whether the entry `name` of `dirFd` is a folder (links not followed).
bool IsFolderEntry(int dirFd, const std::string& name);
// 0 when `dirFd` holds an entry `name`, else the errno of looking it up.
int LookUpEntry(int dirFd, const std::string& name);
// Whether the folders open as `a` and `b` are one.
bool IsSameFolder(int a, int b);
// Whether the entry `name` of `dirFd` is a folder that is the folder open as `fd` or one of its
// ancestors (walking "..", so links and mount points in the path don't fool it).
bool IsFolderAtOrAbove(int dirFd, const std::string& name, int fd);

// Renames `from` of `fromDir` to `to` of `toDir` unless `to` exists.
int RenameNoReplace(int fromDir, const std::string& from, int toDir, const std::string& to);
// Makes the folder `name` in `dirFd` unless the name is taken.
int MakeFolder(int dirFd, const std::string& name);

// The outcome of copying one entry: whether the target name was made, and 0 or the errno of
// the first failure. A target name that is taken gives Made == false and Error == EEXIST.
struct TCopyOutcome {
    bool Made = false;
    int Error = 0;
};

// Copies the entry `name` of `fromDir` as the new entry `toName` of `toDir`: a folder with its
// contents, a file's bytes, a link as a link, a fifo or device as itself; permissions and
// modification times follow. `toName` is made exclusively. Goes on past failures inside a folder.
TCopyOutcome CopyEntry(int fromDir, const std::string& name, int toDir, const std::string& toName);

// Deletes the entry `name` of `dirFd` for good, a folder with everything inside, links never
// followed. Goes on past failures; returns 0 or the errno of the first one.
int RemoveEntry(int dirFd, const std::string& name);

// What lies inside a folder at any depth, and the folder's own status.
struct TTreeTotals {
    std::uint64_t ContentBytes = 0; // sizes of the regular files
    std::uint64_t FileCount = 0;    // entries that are not folders (links not followed)
    std::uint64_t FolderCount = 0;
    std::int64_t ModifiedSeconds = 0; // the folder's own
    std::uint32_t Mode = 0;           // the folder's st_mode
};
// Adds up the folder at the absolute `path`; folders inside that can't be read add nothing.
int ReadTreeTotals(const std::string& path, TTreeTotals& totals);

// A folder entry of a folder, or a link to one, with its link count.
struct TFolderLinks {
    std::string Name;
    std::uint64_t LinkCount = 0;
};
// The folders (and links to folders) of the folder at `path` among the entries `wanted` names,
// in the system's order; none when it can't be read. Only those entries are looked up, so
// one that would hang (a dead network mount) is never touched unless wanted.
std::vector<TFolderLinks> ReadSubFolders(const std::string& path,
                                         const std::function<bool(std::string_view)>& wanted);

} // namespace engine::platform
