#pragma once
// The journals of past batches, and taking a batch back.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/batch_rename.h"

namespace engine {

// What a journal records: a batch, or the undo of one.
enum class TJournalKind : char { Batch = 'b', Undo = 'u' };

// One journal of the journal folder, as the window offers it.
struct TJournalSummary {
    std::string Name{}; // the journal's file name; names sort by age
    TJournalKind Kind = TJournalKind::Batch;
    std::string Folder{};     // the batch's folder, ending in "/"
    bool Closed = false;      // false: the program stopped in the middle of it, or it is running
    bool Undone = false;      // an undo took it back whole (and that undo was not taken back)
    std::string UndoesName{}; // for an undo that ran whole: the journal it takes back
    bool Running = false;     // a batch or an undo is at work on it, in this window or another;
                              // on Windows its folder is then unknown (empty)
    bool RenamedAny = true;   // false when it closed having renamed no row
};

// Every readable journal in `journalFolder`, oldest first; a missing folder has none. Reads
// the beginning and the end of each journal only; a damaged journal, however large, is left
// out. Reads the disk; never throws.
std::vector<TJournalSummary> ReadJournals(const std::string& journalFolder);

// What Ctrl+Z does next, by the journals newest first: a journal not closed (at work in this
// window or another, or cut short by a crash) is in the way, and nothing older is taken back
// before it; else the newest closed batch that renamed something and is not undone.
struct TUndoStep {
    const TJournalSummary* Batch = nullptr;    // the batch to take back
    const TJournalSummary* InTheWay = nullptr; // the journal that must end or be recovered first
};
// The step points into `journals`, which must outlive it: a temporary is refused.
TUndoStep NextUndo(const std::vector<TJournalSummary>& journals);
TUndoStep NextUndo(const std::vector<TJournalSummary>&& journals) = delete;

// NextUndo's batch, or nullptr. Pure.
inline const TJournalSummary* LastUndoableBatch(const std::vector<TJournalSummary>& journals) {
    return NextUndo(journals).Batch;
}
const TJournalSummary* LastUndoableBatch(const std::vector<TJournalSummary>&& journals) = delete;

// The number of rows of journal `name` whose entry stands renamed now: the folder holds the
// row's new name exactly, and the entry there has the row's identity. For an undo cut short,
// the rows it has yet to take back. Reads the disk; throws TError
// when the journal can't be read or a batch or an undo is at work on it.
std::size_t CountRenamedRows(const std::string& journalFolder, const std::string& name);

// One row of an undo: the entry's name before the undo and the name it goes back to.
struct TUndoRow {
    std::string From;
    std::string To;
    int Error = 0; // 0 when it went back, else errno or a TRenameRefusal
};

// What an undo did.
struct TUndoResult {
    std::string Folder;         // the folder, ending in "/"
    std::vector<TUndoRow> Rows; // newest first, as run; then the rows whose entry was gone
};

// Takes back journal `name`, newest row first, never replacing anything: a row goes back only
// when the folder holds its new name (or its stop-over name) exactly and the entry there is the
// entry it renamed, by identity, asked of the entry just before its rename. A row known renamed
// whose entry is gone fails with its reason, as does one whose entry was replaced
// (rrEntryReplaced) or whose old name is taken; the undo goes on. The undo is journaled in
// `journalFolder` like a batch, listing just the rows it takes back, and locks journal `name`
// while it runs. The batch counts as undone only when every row it takes back went back; an
// open journal is then closed as undone, else as kept, and stays to be undone. Throws TError
// before any rename when the journal can't be read or written, when a batch or an undo is at
// work on it, or when the folder is gone or is another folder now. An undo cut short is
// finished: its batch is taken back from where the folder stands, and it closes as stopped.
// Changes the disk.
TUndoResult UndoBatch(const std::string& journalFolder, const std::string& name,
                      const TBatchControl& control = {});

// Closes the open journal `name` as kept, so it is no longer offered for recovery. Changes the
// disk; throws TError when it can't be written or a batch or an undo is at work on it.
void KeepJournal(const std::string& journalFolder, const std::string& name);

// The folder of the user's batch journals: $XDG_STATE_HOME/zelvora where that variable holds an
// absolute path, on every platform; else ~/.local/state/zelvora on Linux, %LOCALAPPDATA%\Zelvora
// on Windows; "" when the system names none. Asks the system; never throws.
std::string DefaultJournalFolder();

} // namespace engine
