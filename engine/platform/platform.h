#pragma once
// The engine's only door to the operating system: folder entries, local time, the rules the
// platform has for paths and names, and the texts of its errors.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "engine/platform/regional_values.h"
#include "engine/platform/system_values.h"

namespace engine::platform {

// One directory entry as read, before any sorting or formatting.
struct TDirEntry {
    std::string Name;                 // raw bytes
    std::int64_t ModifiedSeconds = 0; // last write, seconds since 1970 UTC, of the entry itself
    bool IsFolder = false;    // the entry itself is a directory (POSIX links never are; Windows
                              // junctions and directory links are, as the system reports them)
    bool HasTime = false;     // false when the entry vanished before it could be stat'ed
    TFileIdentity Identity{}; // its size and time, or on Windows its file id too; unknown
                              // when the entry vanished
};

// A listed folder's device and inode (Linux), or volume serial and file index (Windows): what
// tells, within one session, that its path still names it.
struct TFolderIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
};

// Appends every entry of `folder` but "." and ".." to `entries`, in the system's order; the
// folder is read whole before this returns. False when it can't be opened (nothing appended)
// or reading stopped early (the entries read so far stay). `folderIdentity`, when given,
// receives the identity of the folder read.
bool ReadFolderEntries(const std::string& folder, std::deque<TDirEntry>& entries,
                       TFolderIdentity* folderIdentity = nullptr);

// Reads the entry `name` (links not followed) of `folder` (ending in its separator) as
// ReadFolderEntries would. False when there is none.
bool ReadFolderEntry(const std::string& folder, const std::string& name, TDirEntry& entry);

// `seconds` since the epoch as local time, with the offset in force at that moment. False
// when the time can't be represented.
bool LocalTime(std::int64_t seconds, TDateTime& when);

// The separator the platform puts between folders: '/' or a backslash.
extern const char FolderSeparator;

// The longest name the platform's file systems hold: 255 of their unit, bytes on POSIX and
// UTF-16 code units on Windows.
extern const TNameUnit NameUnit;

// Whether `c` separates folders in a path: '/', and on Windows also a backslash.
bool IsSeparator(char c);

// Whether `path` names a folder the listing reads: an absolute path on POSIX ("/..."), a path
// holding ":\" on Windows ("C:\Data"); not a virtual item's display name or "".
bool IsFolderPath(std::string_view path);

// Whether the system opens only the names Windows can open: true on Windows, where the system
// would change or misread the others; false on POSIX.
extern const bool OpensOnlyWindowsNames;

// What kind of failure the system's error code `error` is. Pure.
TFailureKind FailureKindOf(int error);

// The system's own text for `error`, as the system words it. Reads the system's messages.
std::string SystemErrorText(int error);

// Whether `error` is the code of a name that is already taken.
bool IsNameTaken(int error);

// The user's regional values where the system keeps them (Windows: read now with
// GetLocaleInfoEx); nullopt where it doesn't (POSIX: the window reads its locale itself).
std::optional<TRegionalValues> RegionalValues();

// What one look at a path (links followed) tells of it as a folder.
struct TFolderStatus {
    bool IsFolder = false;
    std::uint64_t LinkCount = 0; // 0 where the system keeps no count for folders (Windows)
    int Error = 0;               // why it is no folder: the system's error code
};
TFolderStatus ProbeFolder(const std::string& path);

// The process's working folder (raw bytes); empty when it can't be read.
std::string CurrentFolderPath();

// The system's folder for per-user state of this program: ~/.local/state/zelvora on POSIX,
// %LOCALAPPDATA%\Zelvora on Windows; "" when unknown.
std::string StateFolder();

// The value of the environment variable `name`; "" when unset.
std::string EnvironmentValue(const char* name);

// Whether `path` starts at a root: "/..." on POSIX; "\...", "/..." or "C:..." on Windows.
bool IsRootedPath(std::string_view path);

} // namespace engine::platform
