#pragma once
// The batch journal: what a batch (or an undo) is about to rename, written and synced before
// its first rename, then each row's outcome as the batch goes, then an end record.
//
// Format, version 2. A journal is one file in the journal folder, named by its sequence number
// in ten or more digits ("0000000042.journal"). The file is a run of records:
//
//     record = NUL tag field* check LF      field = decimal-length ":" bytes
//     check  = the field holding the CRC-32 of the record from its NUL up to the check, in
//              eight lowercase hexadecimal digits
//
// A field that would hold NUL (a name that is never renamed) is written empty, and lengths are
// ASCII digits, so a NUL byte is always the start of a record and the last record of the file
// is found from the last NUL. Fields are raw bytes, so names that are not UTF-8 or that hold
// newlines round-trip. Records, in file order:
//
//     B  version("2") kind("batch"|"undo") folder device inode undoes row-count
//        undoes: the journal name an undo takes back, empty for a batch
//     R  old-name new-name device inode        one per row, in the order the rows run; the
//                                              entry's identity as listed (0 0: unknown)
//     O  row-index status("R"|"S"|"F") error   appended as rows finish (rows in order)
//     E  how("done"|"kept"|"undone") renamed   the journal is closed; renamed: rows renamed
//
// Reading stops at the first record that is torn or fails its check: the rows and outcomes
// after it are unknown, and the undo asks the folder, by each row's identity, where its entry
// is. The end record, appended later by the undo or by keeping the journal, is found from the
// last NUL. Version 1 journals (no checks, no identities, one-field end) are still read.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace engine {

inline constexpr std::string_view JournalVersion = "2";
inline constexpr std::string_view JournalSuffix = ".journal";
inline constexpr std::size_t JournalsKept = 20;

// One row of a journal: the rename it makes, the entry it renames, and its outcome once known.
struct TJournalRow {
    std::string From;
    std::string To;
    TFileIdentity Identity{}; // the entry's, as listed
    char Outcome = 0;         // 0: unknown; 'R' renamed, 'S' skipped, 'F' failed
    int Error = 0;
};

// What the begin record says.
struct TJournalHead {
    TJournalKind Kind = TJournalKind::Batch;
    std::string Folder; // the folder's path, ending in its separator
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::string Undoes;         // the journal an undo takes back
    std::uint64_t RowCount = 0; // as written; fewer rows may be readable
};

// The end record.
struct TJournalEnding {
    std::string How;                        // empty while the journal is open
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
inline constexpr std::size_t RowRecordBytes = 104;
// Appends one O record to `out`. Pure.
void EncodeOutcome(std::string& out, std::size_t index, char status, int error);
// One E record. Pure.
std::string EncodeEnding(std::string_view how, std::uint64_t renamed);

// Reads a journal up to its first bad record, and its ending. Throws TError when `bytes` does not
// start with a begin record of a version this code reads. Pure.
TJournal DecodeJournal(std::string_view bytes);
// The begin record alone from the first bytes of a journal; nothing when it is not complete or
// not readable. Pure.
std::optional<TJournalHead> DecodeJournalHead(std::string_view firstBytes);
// The end record when `lastBytes` (the end of a journal) closes with one, else How is empty.
// Pure.
TJournalEnding DecodeEnding(std::string_view lastBytes);

// The CRC-32 (as zlib computes it) of `bytes`, continuing from `crc`. Pure.
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

} // namespace engine
