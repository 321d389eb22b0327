#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/batch_journal.h"
#include "engine/engine.h"
#include "engine/inode_index.h"
#include "engine/journal.h"
#include "engine/messages.h"
#include "engine/platform/journal_files.h"
#include "engine/platform/platform.h"
#include "engine/platform/rename_folder.h"

namespace engine {
namespace {

constexpr std::size_t TailBytes = 4096;
// No row record can be longer: two names of a path's length, an identity and a check. A
// journal larger than its rows can fill is damaged, and is never read whole.
constexpr std::uint64_t MaxRowBytes = 3 * 8192;
constexpr std::uint64_t MaxJournalBytes = std::uint64_t{1} << 31;

[[noreturn]] void ThrowUnreadable(int error) {
    if (platform::IsJournalBusy(error)) throw TError(std::string(messages::JournalRunning));
    throw TError(std::string(messages::JournalUnreadable));
}

// Journal `name`, opened and locked so no batch, undo or other window works on it meanwhile,
// and read through the same opening. Throws TError.
TJournal OpenJournal(const std::string& journalFolder, const std::string& name,
                     platform::TJournalFile& file) {
    if (const int error = file.Open(journalFolder, name); error != 0) ThrowUnreadable(error);
    std::string bytes;
    if (const int error = file.ReadPart(bytes, 1024 * 1024, false); error != 0)
        ThrowUnreadable(error);
    const std::optional<TJournalHead> head = DecodeJournalHead(bytes);
    if (!head) ThrowUnreadable(0);
    const std::uint64_t bound =
        std::min(MaxJournalBytes, 1024 * 1024 + head->RowCount * MaxRowBytes);
    if (const int error = file.Read(bytes, static_cast<std::size_t>(bound)); error != 0)
        ThrowUnreadable(error);
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

bool MayHaveRun(const TJournalRow& row) {
    const bool moved = row.Outcome == 'R' || row.Outcome == 0 || row.Error == rrLeftAtStopOver;
    return moved && row.From != row.To && !row.From.empty() && !row.To.empty();
}

// The folder's entries as the undo found them: read in one pass, a lookup per row being a
// quarter of a rename. The names lie end to end in one text, found by inode through a flat
// table, so reading the folder costs no allocation per entry.
class TFolderEntries {
public:
    explicit TFolderEntries(const platform::TRenameFolder& folder)
        : m_folder(folder), m_complete(ReadEntries()), m_byInode(m_entries.size()) {
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            m_byInode.Add(m_entries[i].Inode, i);
    }

    // Whether the entry at `name` has `identity`, looked up by the inode. One the records list
    // under another name (a second link), a name below a sub-folder, or an inode the records
    // give otherwise than the entry itself (overlay) is asked alone.
    bool Holds(const std::string& name, const TFileIdentity& identity) const {
        const std::size_t found = m_byInode.Find(identity.Inode);
        if (found != TInodeIndex::NotFound && NameOf(m_entries[found]) == name) return true;
        const bool plain = std::none_of(name.begin(), name.end(), platform::IsSeparator);
        if (m_complete && plain && found == TInodeIndex::NotFound) return false;
        TFileIdentity actual;
        return m_folder.IdentityOf(name, actual) == 0 && actual == identity;
    }

private:
    struct TEntry {
        std::uint64_t Inode;
        std::size_t NameAt, NameSize; // in m_names
    };

    bool ReadEntries() {
        return m_folder.ReadIdentities(
                   [this](std::string_view name, const TFileIdentity& identity) {
                       m_entries.push_back({identity.Inode, m_names.size(), name.size()});
                       m_names.append(name);
                   }) == 0;
    }

    std::string_view NameOf(const TEntry& entry) const {
        return std::string_view(m_names).substr(entry.NameAt, entry.NameSize);
    }

    const platform::TRenameFolder& m_folder;
    // In this order: the entries are read, then the index is made for as many.
    std::string m_names;
    std::vector<TEntry> m_entries;
    bool m_complete;
    TInodeIndex m_byInode;
};

// Where row `index` of journal `name` left its entry: at its new name, or at its stop-over
// name, when the entry there has the row's identity. A row of unknown identity (written by an
// older version) is trusted only when its outcome says renamed. The new name is taken out of
// `row` when it is the answer.
std::optional<std::string> RenamedEntry(const TFolderEntries& entries, const std::string& name,
                                        std::size_t index, TJournalRow& row) {
    if (!row.Identity.Known())
        return row.Outcome == 'R' ? std::optional<std::string>(std::move(row.To)) : std::nullopt;
    if (entries.Holds(row.To, row.Identity)) return std::move(row.To);
    if (platform::PassesThroughStopOver(row.From, row.To)) {
        std::string stopOver = StopOverName(name, index, row.From);
        if (entries.Holds(stopOver, row.Identity)) return stopOver;
    }
    return std::nullopt;
}

// Why the entry of a row known renamed is not at its new name.
int LostReason(const platform::TRenameFolder& folder, const TJournalRow& row) {
    TFileIdentity found;
    const int error = folder.IdentityOf(row.To, found);
    return error != 0 ? error : rrEntryReplaced;
}

// What an undo does: the rows that take back what stands renamed, newest first, and the rows
// known renamed whose entry is gone or replaced.
struct TUndoPlan {
    std::vector<TJournalRow> Rows;
    std::vector<TUndoRow> Lost;
};

// The rows planned take their names out of `journal`, so no name is copied.
TUndoPlan PlanUndo(TJournal& journal, const std::string& name,
                   const platform::TRenameFolder& folder) {
    TUndoPlan plan;
    const TFolderEntries entries(folder);
    for (std::size_t i = journal.Rows.size(); i-- > 0;) {
        TJournalRow& row = journal.Rows[i];
        if (!MayHaveRun(row)) continue;
        if (auto at = RenamedEntry(entries, name, i, row))
            plan.Rows.push_back({std::move(*at), std::move(row.From), row.Identity});
        else if ((row.Outcome == 'R' || row.Error == rrLeftAtStopOver) &&
                 !entries.Holds(row.From, row.Identity)) // not already back (a stopped undo)
            plan.Lost.push_back({row.To, row.From, LostReason(folder, row)});
    }
    return plan;
}

// Appends the end record to the journal an undo took back; the renames are done, so a failure
// only leaves it open, to be offered again.
void CloseTakenBack(const platform::TJournalFile& file, std::string_view how,
                    std::uint64_t renamed) {
    if (file.Append(EncodeEnding(how, renamed)) == 0) file.Sync();
}

std::optional<TJournalSummary> Summarize(const std::string& journalFolder,
                                         const std::string& name) {
    const std::string path = JournalPath(journalFolder, name);
    int error = 0;
    const std::optional<TJournalHead> head = ReadJournalHead(path, error);
    const bool running = platform::IsJournalBusy(error) || platform::IsJournalLocked(path);
    if (running)
        return TJournalSummary{name,
                               head ? head->Kind : TJournalKind::Batch,
                               head ? head->Folder : std::string(),
                               false,
                               false,
                               head ? head->Undoes : std::string(),
                               true,
                               true};
    std::string tail;
    if (!head || platform::ReadFileBytes(path, tail, TailBytes, true) != 0) return std::nullopt;
    const TJournalEnding ending = DecodeEnding(tail);
    // An undo stopped or cut short took back only part of its journal, which stays to be
    // undone.
    const std::string undoes = ending.How == "done" ? head->Undoes : std::string();
    return TJournalSummary{name,  head->Kind, head->Folder, !ending.How.empty(),
                           false, undoes,     false,        ending.Renamed.value_or(1) != 0};
}

} // namespace

std::vector<TJournalSummary> ReadJournals(const std::string& journalFolder) {
    std::vector<TJournalSummary> journals;
    try {
        for (const std::string& name : JournalNames(journalFolder)) {
            if (auto summary = Summarize(journalFolder, name)) journals.push_back(*summary);
        }
    } catch (const std::exception&) { // out of memory: what was read so far is all there is
    }
    // An undo that ran whole and is not itself taken back takes back its journal; newer
    // journals decide first.
    for (auto journal = journals.rbegin(); journal != journals.rend(); ++journal) {
        if (journal->Kind != TJournalKind::Undo || journal->Undone || !journal->Closed) continue;
        for (auto older = std::next(journal); older != journals.rend(); ++older)
            if (older->Name == journal->UndoesName) older->Undone = true;
    }
    return journals;
}

const TJournalSummary* LastUndoableBatch(const std::vector<TJournalSummary>& journals) {
    for (auto journal = journals.rbegin(); journal != journals.rend(); ++journal)
        if (journal->Kind == TJournalKind::Batch && journal->Closed && !journal->Undone &&
            journal->RenamedAny)
            return &*journal;
    return nullptr;
}

bool AnyRunning(const std::vector<TJournalSummary>& journals) {
    return std::any_of(journals.begin(), journals.end(),
                       [](const TJournalSummary& journal) { return journal.Running; });
}

std::size_t CountRenamedRows(const std::string& journalFolder, const std::string& name) {
    platform::TJournalFile file;
    TJournal journal = OpenJournal(journalFolder, name, file);
    const platform::TRenameFolder folder(journal.Head.Folder);
    return PlanUndo(journal, name, folder).Rows.size();
}

TUndoResult UndoBatch(const std::string& journalFolder, const std::string& name,
                      const TBatchControl& control) {
    platform::TJournalFile file;
    TJournal journal = OpenJournal(journalFolder, name, file);
    platform::TRenameFolder folder(journal.Head.Folder);
    CheckFolder(folder, journal.Head);
    TUndoPlan plan = PlanUndo(journal, name, folder);
    TJournalHead head = journal.Head;
    head.Kind = TJournalKind::Undo;
    head.Undoes = name;
    TBatchJournal undoJournal(journalFolder, EncodeJournalStart(head, plan.Rows));
    TUndoResult result{journal.Head.Folder, {}};
    result.Rows.reserve(plan.Rows.size() + plan.Lost.size());
    std::size_t done = 0, renamed = 0;
    folder.LookAhead([&] {
        std::vector<std::string> coming;
        for (std::size_t i = done + 1; i < plan.Rows.size(); ++i)
            coming.push_back(plan.Rows[i].From);
        return coming;
    });
    for (; done < plan.Rows.size() && !control.Stop.stop_requested(); ++done) {
        TJournalRow& row = plan.Rows[done];
        const std::string stopOver = platform::PassesThroughStopOver(row.From, row.To)
                                         ? StopOverName(undoJournal.Name(), done, row.From)
                                         : std::string();
        const int error = folder.RenameNoReplace(row.From, row.To, row.Identity, stopOver);
        undoJournal.Outcome(done, error == 0 ? 'R' : 'F', error);
        renamed += error == 0;
        result.Rows.push_back({std::move(row.From), std::move(row.To), error});
        if (control.Progress) control.Progress(done + 1, plan.Rows.size());
    }
    const bool whole = done == plan.Rows.size();
    result.Rows.insert(result.Rows.end(), std::make_move_iterator(plan.Lost.begin()),
                       std::make_move_iterator(plan.Lost.end()));
    undoJournal.Close(folder, whole ? "done" : "stopped");
    if (journal.Ending.How.empty())
        CloseTakenBack(file, whole ? "undone" : "kept", plan.Rows.size() - renamed);
    return result;
}

void KeepJournal(const std::string& journalFolder, const std::string& name) {
    platform::TJournalFile file;
    TJournal journal = OpenJournal(journalFolder, name, file);
    const platform::TRenameFolder folder(journal.Head.Folder);
    const std::size_t renamed = PlanUndo(journal, name, folder).Rows.size();
    int error = file.Append(EncodeEnding("kept", renamed));
    if (error == 0) error = file.Sync();
    if (error != 0)
        throw TError(messages::Format(messages::JournalUnwritable, JournalPath(journalFolder, name),
                                      RenameFailureText(error)));
}

} // namespace engine
