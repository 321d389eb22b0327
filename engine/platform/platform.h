#pragma once
// The engine's only door to the operating system: folder entries, local time, LC_TIME texts.

#include <cstdint>
#include <string>
#include <deque>

#include "engine/engine.h"
#include "engine/regional_settings.h"

namespace engine::platform {

// One directory entry as read, before any sorting or formatting.
struct TDirEntry {
    std::string Name;                // raw bytes
    std::int64_t ModifiedSeconds = 0; // st_mtim.tv_sec of the entry itself
    bool IsFolder = false;           // the entry itself is a directory (links never are)
    bool HasTime = false;            // false when the entry vanished before it could be stat'ed
};

// A folder's device and inode, as fstat gives them.
struct TFolderIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
};

// Appends every entry of `folder` but "." and ".." to `entries`, in the system's order; the
// folder is read whole before this returns. False when it can't be opened (nothing appended)
// or reading stopped early (the entries read so far stay). `identity`, when given, receives
// the identity of the folder read.
bool ReadFolderEntries(const std::string& folder, std::deque<TDirEntry>& entries,
                       TFolderIdentity* identity = nullptr);

// `seconds` since the epoch as local time, with the offset in force at that moment. False
// when the time can't be represented.
bool LocalTime(std::int64_t seconds, TDateTime& when);

// The LC_TIME texts of the user's locale (LC_ALL, LC_TIME, LANG); empty texts when the locale
// can't be loaded.
TLocaleTexts ReadLocaleTexts();

} // namespace engine::platform
