#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/batch_journal.h"
#include "engine/engine.h"
#include "engine/journal.h"
#include "engine/journal_folder.h"
#include "engine/messages.h"
#include "engine/name_rules.h"
#include "engine/platform/journal_files.h"
#include "engine/platform/platform.h"
#include "engine/platform/rename_folder.h"
#include "engine/position_index.h"
#include "engine/rename_steps.h"

namespace engine {
namespace {

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
    if (const int error = file.ReadPart(bytes, MaxJournalHeadBytes, false); error != 0)
        ThrowUnreadable(error);
    const std::optional<TJournalHead> head = DecodeJournalHead(bytes);
    if (!head) ThrowUnreadable(0);
    const std::uint64_t bound =
        std::min(MaxJournalBytes, MaxJournalHeadBytes + head->RowCount * MaxRowBytes);
    if (const int error = file.Read(bytes, static_cast<std::size_t>(bound)); error != 0)
        ThrowUnreadable(error);
    return DecodeJournal(bytes);
}

// Opens the journal's folder and checks that it is still the folder renamed: by its volume and
// handle where its volume keeps handles, else by its path alone. Throws TError.
void CheckFolder(const platform::TRenameFolder& folder, const TJournalHead& head) {
    if (folder.OpenError() != 0)
        throw TError(messages::Format(messages::UndoFolderGone, head.Folder,
                                      RenameFailureText(folder.OpenError())));
    if (head.FolderHandle.empty()) return;
    std::uint64_t volume = 0;
    std::string handle;
    folder.Mark(volume, handle);
    if (volume != head.Volume || handle != head.FolderHandle)
        throw TError(messages::Format(messages::UndoFolderReplaced, head.Folder));
}

bool IsUnfinishedUndo(const TJournal& journal) {
    return journal.Head.Kind == TJournalKind::Undo && journal.Ending.How == TEnding::Open &&
           !journal.Head.Undoes.empty();
}

bool KnownMoved(const TJournalRow& row) {
    return row.Outcome == TOutcome::Renamed || row.Error == rrLeftAtStopOver;
}

bool MayHaveRun(const TJournalRow& row) {
    const bool moved = KnownMoved(row) || row.Outcome == TOutcome::Unknown;
    return moved && row.From != row.To && !row.From.empty() && !row.To.empty();
}

// The folder's names exactly as it holds them, read in one pass. Where the volume ignores case,
// a lookup of "IMG.jpg" finds "img.jpg", and only the names themselves tell which of the two the
// folder holds. The names lie end to end in one text, found by their hash through a flat table,
// so reading the folder costs no allocation per entry.
class TFolderNames {
public:
    explicit TFolderNames(const platform::TRenameFolder& folder)
        : m_folder(folder), m_complete(ReadNames()), m_byHash(m_spans.size()) {
        for (std::size_t i = 0; i < m_spans.size(); ++i)
            m_byHash.Add(Hash(NameOf(i)), i);
    }

    // Whether the folder holds `name`, byte for byte. A name below a sub-folder, or any name
    // when the folder could not be read whole, is looked up.
    bool Holds(const std::string& name) const {
        const bool plain = std::none_of(name.begin(), name.end(), platform::IsSeparator);
        if (!plain || !m_complete) {
            TFileIdentity any;
            return m_folder.IdentityOf(name, any) == 0;
        }
        const std::size_t found = m_byHash.Find(Hash(name));
        if (found == TPositionIndex::NotFound) return false;
        if (NameOf(found) == name) return true;
        for (std::size_t i = 0; i < m_spans.size(); ++i) // another name of the same hash
            if (NameOf(i) == name) return true;
        return false;
    }

private:
    struct TSpan {
        std::size_t At, Size; // in m_names
    };

    static std::uint64_t Hash(std::string_view name) { return std::hash<std::string_view>{}(name); }

    bool ReadNames() {
        return m_folder.ReadNames([this](std::string_view name) {
            m_spans.push_back({m_names.size(), name.size()});
            m_names.append(name);
        }) == 0;
    }

    std::string_view NameOf(std::size_t i) const {
        return std::string_view(m_names).substr(m_spans[i].At, m_spans[i].Size);
    }

    const platform::TRenameFolder& m_folder;
    // In this order: the names are read, then the index is made for as many.
    std::string m_names;
    std::vector<TSpan> m_spans;
    bool m_complete;
    TPositionIndex m_byHash;
};

// Whether the entry at `name` has `identity`, asked of the entry itself.
bool IsEntry(const platform::TRenameFolder& folder, const std::string& name,
             const TFileIdentity& identity) {
    TFileIdentity found;
    return folder.IdentityOf(name, found, &identity) == 0 && identity.Matches(found);
}

// How sure the plan is of each row. An undo checks every row again just before its rename, so
// it takes a row known renamed on the name alone; a count, and a row whose outcome was never
// written (a batch cut short), ask the entry now.
enum class TProof { Outcome, Entry };

// Where row `index` of journal `name` left its entry: its new name, or its stop-over name, when
// the folder holds that name exactly and the row's entry stands there. A row of unknown
// identity (written by an older version) is trusted only when its outcome says renamed. The
// name is taken out of `row` when it is the answer.
std::optional<std::string> WhereRenamed(const TFolderNames& names,
                                        const platform::TRenameFolder& folder,
                                        const std::string& name, std::size_t index,
                                        TJournalRow& row, TProof proof) {
    std::string stopOver =
        IsCaseOnlyRename(row.From, row.To) ? StopOverName(name, index, row.From) : std::string();
    for (std::string* at : {&row.To, &stopOver}) {
        if (at->empty() || !names.Holds(*at)) continue;
        const bool trusted = KnownMoved(row) && (proof == TProof::Outcome || !row.Identity.Known());
        if (trusted || (row.Identity.Known() && IsEntry(folder, *at, row.Identity)))
            return std::move(*at);
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
// known renamed whose entry is gone.
struct TUndoPlan {
    std::vector<TJournalRow> Rows;
    std::vector<TUndoRow> Lost;
};

// What the plan does with a placeholder that a crash left where a row's entry was to move:
// the undo and keeping the journal remove it, a count leaves the disk alone.
enum class TPlaceholders { Leave, Remove };

// The rows planned take their names out of `journal`, so no name is copied.
TUndoPlan PlanUndo(TJournal& journal, const std::string& name,
                   const platform::TRenameFolder& folder, TProof proof,
                   TPlaceholders placeholders = TPlaceholders::Leave) {
    TUndoPlan plan;
    const TFolderNames names(folder);
    for (std::size_t i = journal.Rows.size(); i-- > 0;) {
        TJournalRow& row = journal.Rows[i];
        if (!MayHaveRun(row)) continue;
        if (auto at = WhereRenamed(names, folder, name, i, row, proof))
            plan.Rows.push_back({std::move(*at), std::move(row.From), std::move(row.Identity)});
        else if (placeholders == TPlaceholders::Remove && row.Outcome == TOutcome::Unknown &&
                 names.Holds(row.To))
            folder.RemovePlaceholder(row.To);
        else if (KnownMoved(row) && // not already back (a stopped undo took it)
                 !(names.Holds(row.From) && row.Identity.Known() &&
                   IsEntry(folder, row.From, row.Identity)))
            plan.Lost.push_back({row.To, row.From, LostReason(folder, row)});
    }
    return plan;
}

// Appends the end record to the journal an undo took back; the renames are done, so a failure
// only leaves it open, to be offered again.
void CloseTakenBack(const platform::TJournalFile& file, TEnding how, std::uint64_t renamed) {
    if (file.Append(EncodeEnding(how, renamed)) == 0) file.Sync();
}

} // namespace

std::size_t CountRenamedRows(const std::string& journalFolder, const std::string& name) {
    platform::TJournalFile file;
    TJournal journal = OpenJournal(journalFolder, name, file);
    if (IsUnfinishedUndo(journal)) return CountRenamedRows(journalFolder, journal.Head.Undoes);
    const platform::TRenameFolder folder(journal.Head.Folder);
    return PlanUndo(journal, name, folder, TProof::Entry).Rows.size();
}

TUndoResult UndoBatch(const std::string& journalFolder, const std::string& name,
                      const TBatchControl& control) {
    platform::TJournalFile file;
    TJournal journal = OpenJournal(journalFolder, name, file);
    // An undo cut short is finished, not reversed: its batch is taken back from where the
    // folder stands, and the undo's own journal closes as stopped.
    if (IsUnfinishedUndo(journal)) {
        TUndoResult result = UndoBatch(journalFolder, journal.Head.Undoes, control);
        CloseTakenBack(file, TEnding::Stopped, 0);
        return result;
    }
    platform::TRenameFolder folder(journal.Head.Folder);
    CheckFolder(folder, journal.Head);
    TUndoPlan plan = PlanUndo(journal, name, folder, TProof::Outcome, TPlaceholders::Remove);
    TJournalHead head = journal.Head;
    head.Kind = TJournalKind::Undo;
    head.Undoes = name;
    folder.Mark(head.Volume, head.FolderHandle);
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
    // Each row's entry is asked for again just before its rename, after the undo's journal is
    // synced: what the plan read may have changed since.
    for (; done < plan.Rows.size() && !control.Stop.stop_requested(); ++done) {
        TJournalRow& row = plan.Rows[done];
        const std::string stopOver = IsCaseOnlyRename(row.From, row.To)
                                         ? StopOverName(undoJournal.Name(), done, row.From)
                                         : std::string();
        const int error = RenameNoReplace(folder, row.From, row.To, row.Identity, stopOver);
        undoJournal.Outcome(done, error == 0 ? TOutcome::Renamed : TOutcome::Failed, error);
        renamed += error == 0;
        result.Rows.push_back({std::move(row.From), std::move(row.To), error});
        if (control.Progress) control.Progress(done + 1, plan.Rows.size());
    }
    // A batch is taken back only when none of its entries stands renamed any more: an undo that
    // was stopped or could not take a row back leaves it to be undone again.
    const bool allBack = renamed == plan.Rows.size();
    result.Rows.insert(result.Rows.end(), std::make_move_iterator(plan.Lost.begin()),
                       std::make_move_iterator(plan.Lost.end()));
    undoJournal.Close(folder, allBack ? TEnding::Done : TEnding::Stopped);
    if (journal.Ending.How == TEnding::Open)
        CloseTakenBack(file, allBack ? TEnding::Undone : TEnding::Kept, plan.Rows.size() - renamed);
    return result;
}

void KeepJournal(const std::string& journalFolder, const std::string& name) {
    platform::TJournalFile file;
    TJournal journal = OpenJournal(journalFolder, name, file);
    const platform::TRenameFolder folder(journal.Head.Folder);
    const std::size_t renamed =
        PlanUndo(journal, name, folder, TProof::Entry, TPlaceholders::Remove).Rows.size();
    int error = file.Append(EncodeEnding(TEnding::Kept, renamed));
    if (error == 0) error = file.Sync();
    if (error != 0)
        throw TError(messages::Format(messages::JournalUnwritable, JournalPath(journalFolder, name),
                                      RenameFailureText(error)));
}

} // namespace engine
