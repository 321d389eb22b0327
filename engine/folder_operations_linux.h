#pragma once
// The folder operations of the Linux folder tree's own menu, and the names and texts they
// make; on Windows the shell's context menu does them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/date_texts.h"
#include "engine/folders.h"

namespace engine {

// The name that try `number` of a free-name search gives: `name` itself for 1, else
// "name (2)", "name (3)" ...; a file keeps its extension last ("a (2).txt"), a folder or a
// name that starts with its only "." does not ("dir.d (2)", ".bashrc (2)"). Pure.
std::string NumberedName(std::string_view name, bool isFolder, int number);

// "drwxr-xr-x" from an st_mode, with s/S and t/T for the set-id and sticky bits. Pure.
std::string PermissionText(std::uint32_t mode);

// The permission bits of an st_mode as four octal digits ("0755", "1777"). Pure.
std::string OctalPermissionText(std::uint32_t mode);

// What a paste does with its sources.
enum class TPasteMode { pmCopy, pmMove };

// The outcome of one source of a paste.
struct TPasteResult {
    std::string Source;     // the source path as given
    std::string TargetName; // the name made in the target folder; empty when nothing was made
    int Error = 0;          // 0 when done; else the errno of the first failure or a TRenameRefusal
};

// Copies (pmCopy) or moves (pmMove) each absolute source path into `targetFolder`, folders
// recursively with contents, permissions, modification times and links as links. Never replaces
// anything: a taken name gets the first free NumberedName, reserved atomically. A move renames
// within one file system and otherwise copies, then deletes the source only when the whole copy
// succeeded; a source that already lies in `targetFolder` is left where it is. A source that is
// not an absolute path, or that holds NUL, fails with rrInvalidName; other failures are recorded
// per source and the paste goes on. Throws TError, before anything changes, when `targetFolder` is
// not a folder that can be opened or when a source folder is `targetFolder` or one of its
// ancestors. Changes the disk.
std::vector<TPasteResult> PasteInto(const std::string& targetFolder,
                                    const std::vector<std::string>& sources, TPasteMode mode);

// Makes the folder "新建文件夹" in `parentFolder`, or the first free "新建文件夹 (2)" ..., reserved
// atomically, and returns the name made. Throws TError when no folder can be made. Changes the
// disk.
std::string MakeNewFolder(const std::string& parentFolder);

// Deletes the entry at `path` for good: a folder with everything inside; a link is removed
// itself, never followed. Goes on past failures; returns 0 or the errno of the first one.
// Changes the disk; never throws.
int DeleteTree(const std::string& path);

// What the properties of a folder show.
struct TFolderProperties {
    std::uint64_t ContentBytes = 0; // sizes of the regular files inside, at any depth
    std::uint64_t FileCount = 0;    // entries inside that are not folders (links not followed)
    std::uint64_t FolderCount = 0;  // folders inside, at any depth
    TDateTime Modified;             // the folder's own modification time, local
    std::uint32_t Mode = 0;         // the folder's st_mode
};

// Reads the properties of the folder at `path`; folders inside that can't be read add nothing.
// Throws TError when `path` itself can't be read. Reads the disk.
TFolderProperties ReadFolderProperties(const std::string& path);

// The sub-folders of `path`: directories and links to directories whose names don't begin
// with "." (hidden), in the platform's enumeration order. HasSubFolders comes from the
// sub-folder's link count (above 2: yes; 2: no; 1, as btrfs and overlay report: unknown, so
// yes); no sub-folder is opened. A folder that can't be read has none. Reads the disk; never
// throws.
std::vector<TSubFolder> ListSubFolders(const std::string& path);

} // namespace engine
