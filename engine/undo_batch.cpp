#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/batch_journal.h"
#include "engine/engine.h"
#include "engine/journal.h"
#include "engine/messages.h"
#include "engine/platform/journal_files.h"
#include "engine/platform/rename_folder.h"

namespace engine {
namespace {

constexpr std::size_t HeadBytes = 64 * 1024;
constexpr std::size_t TailBytes = 4096;

std::optional<TJournalHead> ReadHead(const std::string& path) {
    std::string bytes;
    if (platform::ReadFileBytes(path, bytes, HeadBytes) != 0) return std::nullopt;
    std::optional<TJournalHead> head = DecodeJournalHead(bytes);
    if (!head && bytes.size() == HeadBytes && platform::ReadFileBytes(path, bytes) == 0)
        head = DecodeJournalHead(bytes); // a folder path longer than the first block
    return head;
}

TJournal ReadJournal(const std::string& journalFolder, const std::string& name) {
    std::string bytes;
    if (platform::ReadFileBytes(JournalPath(journalFolder, name), bytes) != 0)
        throw TError(std::string(messages::JournalUnreadable));
    return DecodeJournal(bytes);
}

// Opens the journal's folder and checks that it is still the folder renamed. Throws TError.
void CheckFolder(const platform::TRenameFolder& folder, const TJournalHead& head) {
    if (folder.OpenError() != 0)
        throw TError(messages::Format(messages::UndoFolderGone, head.Folder,
                                      RenameFailureText(folder.OpenError())));
    std::uint64_t device = 0, inode = 0;
    if (head.Inode != 0 && folder.Identity(device, inode) &&
        (device != head.Device || inode != head.Inode))
        throw TError(messages::Format(messages::UndoFolderReplaced, head.Folder));
}

// The renames that take `journal` back, newest first: the renamed rows, and the rows a crash
// left without an outcome (Outcome 0 here), which may or may not have been renamed.
std::vector<TJournalRow> RowsToUndo(const TJournal& journal) {
    std::vector<TJournalRow> undo;
    for (auto row = journal.Rows.rbegin(); row != journal.Rows.rend(); ++row)
        if (row->Outcome == 'R' ||
            (row->Outcome == 0 && row->From != row->To && !row->From.empty() && !row->To.empty()))
            undo.push_back({row->To, row->From, row->Outcome == 'R' ? 'R' : '\0', 0});
    return undo;
}

// A row without an outcome was renamed exactly when its old name is free now that every newer
// row is back: a rename never gives a name back. Ask only then, as the rows go.
bool WasRenamed(const TJournalRow& undoRow, const platform::TRenameFolder& folder) {
    return undoRow.Outcome == 'R' || !folder.Holds(undoRow.To);
}

void CloseAs(const std::string& journalFolder, const std::string& name, std::string_view how) {
    platform::TJournalFile file;
    int error = file.Open(journalFolder, name);
    if (error == 0) error = file.Append(EncodeEnding(how));
    if (error == 0) error = file.Sync();
    if (error != 0)
        throw TError(messages::Format(messages::JournalUnwritable, JournalPath(journalFolder, name),
                                      RenameFailureText(error)));
}

} // namespace

std::vector<TJournalSummary> ReadJournals(const std::string& journalFolder) {
    std::vector<TJournalSummary> journals;
    for (const std::string& name : JournalNames(journalFolder)) {
        const std::string path = JournalPath(journalFolder, name);
        const std::optional<TJournalHead> head = ReadHead(path);
        std::string tail;
        if (!head || platform::ReadFileBytes(path, tail, TailBytes, true) != 0) continue;
        journals.push_back(
            {name, head->Kind, head->Folder, !DecodeEnding(tail).empty(), false, head->Undoes});
    }
    // An undo that is itself not taken back takes back its journal; newer journals decide first.
    for (auto journal = journals.rbegin(); journal != journals.rend(); ++journal) {
        if (journal->Kind != TJournalKind::Undo || journal->Undone) continue;
        for (auto older = std::next(journal); older != journals.rend(); ++older)
            if (older->Name == journal->UndoesName) older->Undone = true;
    }
    return journals;
}

const TJournalSummary* LastUndoableBatch(const std::vector<TJournalSummary>& journals) {
    for (auto journal = journals.rbegin(); journal != journals.rend(); ++journal)
        if (journal->Kind == TJournalKind::Batch && journal->Closed && !journal->Undone)
            return &*journal;
    return nullptr;
}

std::size_t CountRenamedRows(const std::string& journalFolder, const std::string& name) {
    const TJournal journal = ReadJournal(journalFolder, name);
    const platform::TRenameFolder folder(journal.Head.Folder);
    const std::vector<TJournalRow> rows = RowsToUndo(journal);
    return static_cast<std::size_t>(std::count_if(
        rows.begin(), rows.end(), [&](const auto& row) { return WasRenamed(row, folder); }));
}

TUndoResult UndoBatch(const std::string& journalFolder, const std::string& name,
                      const TBatchControl& control) {
    const TJournal journal = ReadJournal(journalFolder, name);
    const platform::TRenameFolder folder(journal.Head.Folder);
    CheckFolder(folder, journal.Head);
    const std::vector<TJournalRow> rows = RowsToUndo(journal);
    TJournalHead head = journal.Head;
    head.Kind = TJournalKind::Undo;
    head.Undoes = name;
    TBatchJournal undoJournal(journalFolder, head, rows);
    TUndoResult result{journal.Head.Folder, {}};
    result.Rows.reserve(rows.size());
    for (std::size_t done = 0; done < rows.size() && !control.Stop.stop_requested(); ++done) {
        const TJournalRow& row = rows[done];
        if (WasRenamed(row, folder)) {
            const int error = folder.RenameNoReplace(row.From, row.To);
            undoJournal.Outcome(done, error == 0 ? 'R' : 'F', error);
            result.Rows.push_back({row.From, row.To, error});
        } else {
            undoJournal.Outcome(done, 'S', 0);
        }
        if (control.Progress) control.Progress(done + 1, rows.size());
    }
    undoJournal.Close(folder);
    if (journal.Ending.empty()) CloseAs(journalFolder, name, "undone");
    return result;
}

void KeepJournal(const std::string& journalFolder, const std::string& name) {
    CloseAs(journalFolder, name, "kept");
}

} // namespace engine
