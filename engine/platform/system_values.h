#pragma once
// What the platform reads off the system and hands up as it is: an entry's identity, a local
// time, and what kind of failure a system error code is (the regional values are in
// regional_values.h). The engine decides what each means.

#include <cstdint>
#include <string>

namespace engine {

// An entry's identity as its volume keeps it across renames, remounts and replugs (which
// volume keeps what is written down in engine/journal.h). Where the volume keeps persistent
// handles, Handle holds the entry's, and it alone decides: a reused inode number is another
// handle. Where it keeps none (FUSE drivers, FAT, exFAT, network shares), Handle is empty and
// the entry is known by what survives there: a file by its size and modification time, a
// folder by being one, as its time and size change with what it holds (and an overlay's copy-up
// makes it anew).
struct TFileIdentity {
    std::string Handle{};      // opaque bytes; empty where the volume keeps no handles
    std::uint64_t Size = 0;    // with Modified: known when HasShape, and 0 for a folder
    std::int64_t Modified = 0; // the system's own unit (nanoseconds, or 100 ns on Windows)
    bool HasShape = false;
    bool IsFolder = false;
    // The inode number as listed, which tells entries apart within one mount where the volume
    // keeps handles (found: 0 elsewhere); never journaled, as a remount may change it.
    std::uint64_t Number = 0;

    bool Known() const { return !Handle.empty() || HasShape; }
    // Whether `found`, read now at a name, is the entry this identity was taken of: by handle
    // where both have one, else by inode number where both have one, else by their shapes.
    bool Matches(const TFileIdentity& found) const {
        if (!Handle.empty() && !found.Handle.empty()) return Handle == found.Handle;
        if (Number != 0 && found.Number != 0)
            return Number == found.Number && IsFolder == found.IsFolder;
        return HasShape && found.HasShape && IsFolder == found.IsFolder && Size == found.Size &&
               Modified == found.Modified;
    }
    bool operator==(const TFileIdentity&) const = default;
};

// Failures the engine decides itself (negative, so they never clash with errno values).
enum TRenameRefusal : int {
    rrInvalidName = -1,    // refused before any system call
    rrEntryReplaced = -2,  // another entry than the one renamed holds the name now
    rrLeftAtStopOver = -3, // a two-step case-only rename could go neither on nor back: the
                           // entry waits at the stop-over name, and the undo takes it back
    rrFolderReplaced = -4, // the folder's path names another folder now (moved mid-batch)
    rrWindowsName = -5,    // on a volume Windows reads: a name Windows can't open
    rrCaseTwin = -6,       // on a volume Windows reads: another entry's name in other case
    rrHoldsJournals = -7,  // the folder holds the journal folder, which must stay where it is
};

// A local date and time, as rendered by FormatDateTime.
struct TDateTime {
    int Year = 1899, Month = 12, Day = 30; // Month 1..12, Day 1..31
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    int DayOfWeek = 6; // 0 = Sunday
};

// What a system error code says went wrong, where a row has a short reason for it.
enum class TFailureKind {
    NameTaken,
    NotFound,
    AccessDenied,
    InUse,
    NameTooLong,
    ReadOnly,
    CrossDevice,
    InvalidName,
    Other, // the system's own text tells
};

// The unit a name's length is counted in by the platform's file systems.
enum class TNameUnit {
    Byte,      // POSIX
    Utf16Unit, // Windows
};

} // namespace engine
