#pragma once
// The batch: its settings, the names it composes, and the renames.

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>

#include "engine/folder_listing.h"

namespace engine {

enum class TRenameMode { rmPrefix = 0, rmSuffix = 1, rmReplace = 2, rmDelete = 3 };

// The settings exactly as the six edits hold them, and the rename type.
struct TRenameSettings {
    std::string StartNumber = "1"; // Edit1
    std::string Digits = "4";      // Edit2
    std::string LeadText = "A-";   // Edit3
    std::string TrailText = " ";   // Edit4
    std::string DeleteStart = "1"; // Edit5
    std::string DeleteCount = "4"; // Edit6
    TRenameMode Mode = TRenameMode::rmPrefix;
};

// Converts a settings text ("7", " -7", "$FF", "0x10", ...) to a 32-bit integer.
// Throws TError "'%s' is not a valid integer value". Pure.
std::int32_t ParseSettingsInteger(std::string_view text);

// Parses a digit count: as ParseSettingsInteger, and throws TError when it is above 255
// (no name can be that long). Pure.
std::int32_t ParseDigitCount(std::string_view text);

// The running number's start and digit count, parsed from `settings`.
struct TNumbering {
    std::int32_t Start = 1;
    std::int32_t Digits = 4;
};
// Checks `settings` as a batch on `listing` checks them before its first rename, in the same
// order: the start number, the digit count, then the delete texts where the mode reads them
// (by composing the first row's name). Throws TError for the first bad one. Pure.
TNumbering CheckRenameSettings(const TFolderListing& listing, const TRenameSettings& settings);

// The number in decimal, padded in front with "0" to `digits` characters. Pure.
std::string SequenceText(std::int32_t number, std::int32_t digits);

// The preview label's caption "例：" + lead + sequence + trail. Parses StartNumber, then
// Digits; throws TError. Pure.
std::string PreviewText(const TRenameSettings& settings);

// The new name of one row numbered `number`. In rmDelete it parses DeleteStart, then
// DeleteCount (throws TError); the other modes parse nothing (Digits is parsed by the caller
// and passed in). Pure.
std::string ComposeNewName(std::string_view oldName, std::string_view typeText,
                           const TRenameSettings& settings, std::int32_t digits,
                           std::int32_t number);

// How a running batch reports and is stopped; both may be left empty.
struct TBatchControl {
    // Called on the batch's own thread after each row with the rows done so far and the row
    // count; keep it cheap (store a counter, never touch widgets).
    std::function<void(std::size_t done, std::size_t total)> Progress{};
    // Checked before each row: once a stop is requested, the rows not reached stay NotRun.
    std::stop_token Stop{};
    // The folder of the batch journals, an absolute path: the batch is written there, and
    // synced, before its first rename, so it can be undone, also after a crash.
    std::string JournalFolder{};
};

// Renames every row of `listing` in list order with a running number, writing NewName,
// Status and Error of each row. Parses StartNumber and Digits and composes every name first,
// then throws TError before any rename when the journal folder is empty or relative (nothing
// is renamed unjournaled), when the folder's path now names another folder than the one
// listed, or when the journal can't be written. The row whose entry holds the journal folder
// fails with rrHoldsJournals. A row whose old or new name holds NUL,
// whose old name holds a separator, or whose new name the system would change or misread
// (Windows: < > : " | ? *, control characters, a trailing space or dot, device names such as
// NUL.txt) fails with rrInvalidName before any system call (a new name may hold separators:
// it is a path relative to the folder). A row whose entry is no longer the one listed (by its
// Identity, when known) fails with rrEntryReplaced; one whose entry another program renamed
// meanwhile fails and is not claimed. Any other failed rename is recorded and the run goes on;
// a stopped batch is journaled and closed like a finished one. Never replaces an existing
// entry. Changes the disk.
void ApplyRenames(TFolderListing& listing, const TRenameSettings& settings,
                  const TBatchControl& control = {});

// Renames the entry `from` inside `folder` to the plain name `to` (no separator), never
// replacing an existing entry. Renaming to the same name does nothing and succeeds; a case-only
// rename passes through a stop-over name where the volume ignores case. Returns 0, the system's
// error code, rrLeftAtStopOver, or rrInvalidName for an empty name, ".", ".." or a name with a
// separator or NUL (either name) or one the system would change, before any system call.
// Changes the disk.
int RenameEntry(const std::string& folder, const std::string& from, const std::string& to);

} // namespace engine
