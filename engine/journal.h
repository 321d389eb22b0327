#pragma once
// The batch journal: what a batch (or an undo) is about to rename, written and synced before
// its first rename, then each row's outcome as the batch goes, then an end record.
//
// Format, version 1. A journal is one file in the journal folder, named by a ten-digit
// sequence number ("0000000042.journal"), so names sort by age. The file is a run of records:
//
//     record = NUL tag field* LF          field = decimal-length ":" bytes
//
// Names and paths never hold NUL, lengths are ASCII digits, so a NUL byte is always the start of
// a record: a record torn by a crash is skipped up to the next NUL, and the last record of the
// file is found from the last NUL. Fields are raw bytes, so names that are not UTF-8 or that
// hold newlines round-trip. Records, in file order:
//
//     B  version("1") kind("batch"|"undo") folder device inode undoes row-count
//        undoes: the journal name an undo takes back, empty for a batch
//     R  old-name new-name                     one per row, in the order the rows run
//     O  row-index status("R"|"S"|"F") errno   appended as rows finish (rows in order)
//     E  how("done"|"kept"|"undone")           the journal is closed
//
// Rows without an O record after a crash may or may not have been renamed; the undo finds out
// from the folder itself.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace engine {

inline constexpr std::string_view JournalVersion = "1";
inline constexpr std::string_view JournalSuffix = ".journal";
inline constexpr std::size_t JournalsKept = 20;

// One row of a journal: the rename it makes, and its outcome once known.
struct TJournalRow {
    std::string From;
    std::string To;
    char Outcome = 0; // 0: unknown; 'R' renamed, 'S' skipped, 'F' failed
    int Error = 0;
};

// What the begin record says.
struct TJournalHead {
    TJournalKind Kind = TJournalKind::Batch;
    std::string Folder; // the folder's path, ending in "/"
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::string Undoes; // the journal an undo takes back
};

// A journal as read back.
struct TJournal {
    TJournalHead Head;
    std::vector<TJournalRow> Rows;
    std::string Ending; // the E record's word; empty while the journal is open
};

// The begin record and every row, ready to write. Pure.
std::string EncodeJournalStart(const TJournalHead& head, const std::vector<TJournalRow>& rows);
// Appends one O record to `out`. Pure.
void EncodeOutcome(std::string& out, std::size_t index, char status, int error);
// One E record. Pure.
std::string EncodeEnding(std::string_view how);

// Reads a whole journal; torn records are skipped. Throws TError when `bytes` does not start with
// a begin record of a version this code reads. Pure.
TJournal DecodeJournal(std::string_view bytes);
// The begin record alone from the first bytes of a journal; nothing when it is not complete or
// not readable. Pure.
std::optional<TJournalHead> DecodeJournalHead(std::string_view firstBytes);
// The E record's word when `lastBytes` (the end of a journal) closes with one, else empty. Pure.
std::string DecodeEnding(std::string_view lastBytes);

} // namespace engine
