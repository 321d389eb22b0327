#pragma once
// The batch journal: what a batch (or an undo) is about to rename, written and synced before
// its first rename, then each row's outcome as the batch goes, then an end record.
//
// Format, version 3. A journal is one file in the journal folder, named by its sequence number
// in ten or more digits ("0000000042.journal"). The file is a run of records:
//
//     record = NUL tag field* check LF      field = decimal-length ":" bytes
//     check  = the field holding the CRC-32 of the record from its NUL up to the check, in
//              eight lowercase hexadecimal digits
//
// A field that would hold NUL (a name that is never renamed) is written empty, and lengths are
// ASCII digits, so a NUL byte is always the start of a record and the last record of the file
// is found from the last NUL. Fields are raw bytes, so names that are not UTF-8 or that hold
// newlines round-trip; handles are written in lowercase hexadecimal. Records, in file order:
//
//     B  version("3") kind("batch"|"undo") folder volume folder-handle undoes row-count
//        undoes: the journal name an undo takes back, empty for a batch
//     R  old-name new-name handle shape            one per row, in the order the rows run:
//                                                  the entry's identity; shape: a file's
//                                                  "size modified", "folder", or empty
//     O  row-index outcome("R"|"S"|"F") error      appended as rows finish (rows in order):
//                                                  renamed, skipped (nothing to do), failed;
//                                                  error: 0, the system's code, or a negative
//                                                  refusal (TRenameRefusal)
//     E  ending renamed                            the journal is closed; renamed: rows renamed
//
// A batch writes its R records in spans, each synced before its first rename, so O records
// may stand between them; a row's R record always comes before its O record. A reading stops
// at an O record of any other outcome letter.
//
// A case-only rename where the file system needs two steps passes through a stop-over name
// that the journal does not write but that its name and the row give: the old name, then
// ".zelvora-case-", the journal's number and "-" the row's index (StopOverName). A row that
// could go neither on nor back is written F with rrLeftAtStopOver and counts as renamed: its
// entry moved, and the undo looks for it at that name.
//
// Endings: "done" (a batch or an undo that ran whole), "stopped" (an undo that did not take back
// every row: stopped, or rows failed; its batch stays to be undone), "kept" (an open journal
// closed without taking it back, or taken back in part), "undone" (an open journal taken back
// whole). Any other word reads as TEnding::Other: the journal counts as closed, so the recovery
// question never offers it, and Ctrl+Z may take back a batch so closed as one that ran whole.
//
// Identities. What each volume keeps of an entry across renames and remounts decides how the
// journal knows it, per mount, from the file system's type and whether it makes handles:
// - Linux, file systems with persistent handles (ext4, xfs, btrfs, tmpfs, NFS, ntfs3, ...):
//   the entry's name_to_handle_at handle, which holds the inode's generation, and the folder's
//   handle with the volume's own id (statfs's f_fsid, which ext4, xfs and btrfs derive from the
//   volume's UUID; the device number where it is 0). A reused inode number is another handle,
//   and a volume mounted again, wherever, is the same volume.
// - Linux, file systems whose numbers are the driver's counters or an entry's position: FUSE
//   (sshfs, exfat-fuse, fusefat, ntfs-3g), FAT, exFAT, SMB and 9p, and any that makes no
//   handle (an overlay): no handle. The entry is known by its size and modification time as
//   stat gives them at its name, the folder by its path alone, and each row's identity decides.
// - Windows: NTFS and every volume but FAT and exFAT, the 64-bit file id with the volume's
//   serial; FAT and exFAT, whose file ids follow an entry's place in its folder, the rule above.
//
// Reading stops at the first record that is torn or fails its check: the rows and outcomes
// after it are unknown, and the undo asks the folder, by each row's identity, where its entry
// is. The end record, appended later by the undo or by keeping the journal, is found from the
// last NUL. Version 2 journals (device and inode numbers) and version 1 journals (no checks, no
// identities, one-field end) are still read, their rows as of unknown identity.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/folder_listing.h"
#include "engine/platform/system_values.h"
#include "engine/undo.h"

namespace engine {

inline constexpr std::string_view JournalVersion = "3";
inline constexpr std::string_view JournalSuffix = ".journal";
inline constexpr std::size_t JournalsKept = 20;
// No head is longer: a folder path of any length fits.
inline constexpr std::size_t MaxJournalHeadBytes = 1024 * 1024;

// A row's outcome as its O record gives it; the value is the record's letter.
enum class TOutcome : char { Unknown = 0, Renamed = 'R', Skipped = 'S', Failed = 'F' };

// How a journal was closed (the words of its E record are in the format above).
enum class TEnding { Open, Done, Stopped, Kept, Undone, Other };

// One row of a journal: the rename it makes, the entry it renames, and its outcome once known.
struct TJournalRow {
    std::string From;
    std::string To;
    TFileIdentity Identity{}; // the entry's, as listed
    TOutcome Outcome = TOutcome::Unknown;
    int Error = 0;
};

// What the begin record says.
struct TJournalHead {
    TJournalKind Kind = TJournalKind::Batch;
    std::string Folder{};       // the folder's path, ending in its separator
    std::uint64_t Volume = 0;   // the folder's volume and handle, where its volume keeps
    std::string FolderHandle{}; // handles; else 0 and empty
    std::string Undoes{};       // the journal an undo takes back
    std::uint64_t RowCount = 0; // as written; fewer rows may be readable
};

// The end record.
struct TJournalEnding {
    TEnding How = TEnding::Open;
    std::optional<std::uint64_t> Renamed{}; // unknown in version 1
};

// A journal as read back.
struct TJournal {
    TJournalHead Head;
    std::vector<TJournalRow> Rows; // the rows readable, in order
    TJournalEnding Ending;
};

// The begin record and every row, ready to write. Pure.
std::string EncodeJournalStart(const TJournalHead& head, const std::vector<TJournalRow>& rows);
// The begin record of a journal of `rowCount` rows, which EncodeRow appends after it. Pure.
std::string EncodeBegin(const TJournalHead& head, std::uint64_t rowCount);
// Appends the R record of one row to `out`. Pure.
void EncodeRow(std::string& out, std::string_view from, std::string_view to,
               const TFileIdentity& identity);
// What a row's record takes beyond its two names, at most: to reserve a journal's bytes.
inline constexpr std::size_t RowRecordBytes = 160;
// Appends one O record to `out`. Pure.
void EncodeOutcome(std::string& out, std::size_t index, TOutcome outcome, int error);
// One E record. Pure.
std::string EncodeEnding(TEnding how, std::uint64_t renamed);

// Reads a journal up to its first bad record, and its ending. Throws TError when `bytes` does not
// start with a begin record of a version this code reads. Pure.
TJournal DecodeJournal(std::string_view bytes);
// The begin record alone from the first bytes of a journal; nothing when it is not complete or
// not readable. Pure.
std::optional<TJournalHead> DecodeJournalHead(std::string_view firstBytes);
// The end record when `lastBytes` (the end of a journal) closes with one, else How is Open.
// Pure.
TJournalEnding DecodeEnding(std::string_view lastBytes);

// The CRC-32 (as zlib computes it) of `bytes`, continuing from `crc`. Pure.
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

} // namespace engine
