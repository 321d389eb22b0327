#include "engine/engine.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "engine/batch_journal.h"
#include "engine/messages.h"
#include "engine/name_rules.h"
#include "engine/platform/platform.h"
#include "engine/platform/rename_folder.h"
#include "engine/rename_steps.h"

namespace engine {
namespace {

// New names are paths relative to the listed folder; a leading separator stays inside it.
std::string_view RelativeToFolder(std::string_view name) {
    std::size_t at = 0;
    while (at < name.size() && platform::IsSeparator(name[at]))
        ++at;
    return name.substr(at);
}

bool IsInvalidTarget(std::string_view name) {
    return name.empty() || name == "." || name == "..";
}

// The system reads a name only up to its first NUL, so it would rename something else.
bool HoldsNul(std::string_view name) {
    return name.find('\0') != std::string_view::npos;
}

// A name of one entry of a folder. An old name must be one: a caption edited to hold a
// separator would reach into another folder ("../x").
bool IsPlainName(std::string_view name) {
    return std::none_of(name.begin(), name.end(), platform::IsSeparator) && !HoldsNul(name);
}

bool IsUsableTarget(std::string_view to) {
    return !HoldsNul(to) && !IsInvalidTarget(to) &&
           (!platform::OpensOnlyWindowsNames || IsValidWindowsName(to));
}

bool IsValidRename(std::string_view from, std::string_view to) {
    return IsPlainName(from) && IsUsableTarget(to);
}

// The names a volume that Windows reads must not be given: names Windows can't open, and names
// that differ only in case from another entry of the folder, which Windows takes for one.
class TWindowsNames {
public:
    explicit TWindowsNames(const platform::TRenameFolder& folder) {
        folder.ReadNames([this](std::string_view name) { m_folded.insert(FoldedName(name)); });
    }

    // 0, or why `to` may not be given to the entry `from`.
    int Check(std::string_view from, std::string_view to) const {
        if (!IsValidWindowsName(to)) return rrWindowsName;
        const std::string folded = FoldedName(to);
        const bool plain = std::none_of(to.begin(), to.end(), platform::IsSeparator);
        return plain && folded != FoldedName(from) && m_folded.contains(folded) ? rrCaseTwin : 0;
    }

    void Renamed(std::string_view from, std::string_view to) {
        if (const auto at = m_folded.find(FoldedName(from)); at != m_folded.end())
            m_folded.erase(at);
        m_folded.insert(FoldedName(to));
    }

private:
    std::unordered_multiset<std::string> m_folded;
};

// The entry of `folder` (ending in its separator) that holds `journalFolder`, if one does: a
// batch in the home folder lists the hidden folder the journals live in.
std::string_view JournalsHolder(std::string_view folder, std::string_view journalFolder) {
    const auto same = [](char a, char b) {
        return a == b || (platform::IsSeparator(a) && platform::IsSeparator(b));
    };
    if (journalFolder.size() < folder.size() ||
        !std::equal(folder.begin(), folder.end(), journalFolder.begin(), same))
        return {};
    const std::string_view inside = journalFolder.substr(folder.size());
    return inside.substr(0, std::find_if(inside.begin(), inside.end(), platform::IsSeparator) -
                                inside.begin());
}

void RenameRow(const platform::TRenameFolder& folder, TWindowsNames* windowsNames,
               std::string_view journalsHolder, bool replaced, TFolderEntry& row,
               const std::string& newName, const std::string& stopOver) {
    const std::string_view to = RelativeToFolder(newName);
    row.Error = 0;
    if (!journalsHolder.empty() && row.OldName == journalsHolder) {
        row.Status = TRenameStatus::Failed;
        row.Error = rrHoldsJournals;
    } else if (!IsValidRename(row.OldName, to)) {
        row.Status = TRenameStatus::Failed;
        row.Error = rrInvalidName;
    } else if (row.OldName == to) {
        row.Status = TRenameStatus::Skipped;
    } else if (const int refused = replaced       ? rrEntryReplaced
                                   : windowsNames ? windowsNames->Check(row.OldName, to)
                                                  : 0) {
        row.Status = TRenameStatus::Failed;
        row.Error = refused;
    } else {
        // A name without a leading separator is renamed to as it is, without a copy.
        const bool whole = to.size() == newName.size();
        const std::string stripped = whole ? std::string() : std::string(to);
        // An entry listed without the handle its volume keeps was checked as it was journaled.
        const bool checked = folder.KeepsHandles() && row.Identity.Handle.empty();
        const TFileIdentity& listed = checked ? TFileIdentity{} : row.Identity;
        row.Error =
            RenameNoReplace(folder, row.OldName, whole ? newName : stripped, listed, stopOver);
        row.Status = row.Error == 0 ? TRenameStatus::Renamed : TRenameStatus::Failed;
        if (windowsNames && row.Error == 0) windowsNames->Renamed(row.OldName, to);
    }
}

// The listing's folder, checked to be the one listed (throws TError), as the journal knows it.
TJournalHead OpenedFolder(const platform::TRenameFolder& folder, const TFolderListing& listing) {
    TJournalHead head{.Kind = TJournalKind::Batch, .Folder = listing.CurrentFolder};
    folder.Mark(head.Volume, head.FolderHandle);
    std::uint64_t device = 0, inode = 0;
    if (folder.Identity(device, inode) && listing.Inode != 0 &&
        (device != listing.Device || inode != listing.Inode))
        throw TError(messages::Format(messages::FolderReplaced, listing.CurrentFolder));
    return head;
}

// The identity the journal records of `entry`: the listing's, with the handle where the volume
// keeps handles (Linux lists none: one is asked for per row) and without one where it doesn't.
// False when the entry at its name is no longer the one listed, by its inode number (the
// handle is then not read), as the volume's renames have no handle to check it by.
bool JournalIdentity(const platform::TRenameFolder& folder, const TFolderEntry& entry,
                     TFileIdentity& identity) {
    identity = entry.Identity;
    if (!IsPlainName(entry.OldName)) return true;
    if (!folder.KeepsHandles()) {
        identity.Handle.clear();
        if (!identity.Known()) folder.IdentityOf(entry.OldName, identity);
    } else if (identity.Handle.empty()) {
        TFileIdentity found;
        if (identity.Known() && folder.IdentityOf(entry.OldName, found, &identity) == 0 &&
            !identity.Matches(found))
            return false;
        if (folder.IdentityOf(entry.OldName, found) == 0) identity.Handle = std::move(found.Handle);
    }
    return true;
}

std::vector<std::string> ComposeNewNames(const TFolderListing& listing,
                                         const TRenameSettings& settings, std::int32_t start,
                                         std::int32_t digits) {
    std::vector<std::string> names;
    names.reserve(listing.Rows.size());
    // Unsigned, so the number wraps from 2147483647 to -2147483648 without overflow.
    auto number = static_cast<std::uint32_t>(start);
    for (const TFolderEntry& row : listing.Rows)
        names.push_back(ComposeNewName(row.OldName, row.TypeText, settings, digits,
                                       static_cast<std::int32_t>(number++)));
    return names;
}

// Rows [first, last) as the journal records them, each with its entry's identity, and the rows
// whose entry is no longer the one listed.
struct TJournalSpan {
    std::string Records;
    std::vector<std::size_t> Replaced;
};

// Encoded straight from the listing, so no row's names are copied for it.
TJournalSpan EncodeRows(const platform::TRenameFolder& folder, const TFolderListing& listing,
                        const std::vector<std::string>& newNames, std::size_t first,
                        std::size_t last) {
    TJournalSpan span;
    std::size_t size = 0;
    for (std::size_t i = first; i < last; ++i)
        size += RowRecordBytes + listing.Rows[i].OldName.size() + newNames[i].size();
    span.Records.reserve(size);
    TFileIdentity identity;
    for (std::size_t i = first; i < last; ++i) {
        if (!JournalIdentity(folder, listing.Rows[i], identity)) span.Replaced.push_back(i);
        EncodeRow(span.Records, listing.Rows[i].OldName, RelativeToFolder(newNames[i]), identity);
    }
    return span;
}

// The journal takes its rows in spans that grow from FirstSpan to at most MaxSpan. Each span's
// records are synced before its first rename, and a thread reads the next span's identities (a
// handle per entry, where the volume keeps handles) while this span's entries are renamed: so no
// span may be much longer than the one before, or the renames wait for that thread.
constexpr std::size_t FirstSpan = 4096;
constexpr std::size_t MaxSpan = 16384;

std::size_t SpanEnd(std::size_t first, std::size_t total) {
    return std::min(total, first + std::clamp(first, FirstSpan, MaxSpan));
}

// The entries RenameRow renames from row `first` on, in order, for the folder to look up ahead.
std::vector<std::string> EntriesToRename(const TFolderListing& listing,
                                         const std::vector<std::string>& newNames,
                                         std::size_t first) {
    std::vector<std::string> names;
    for (std::size_t i = first; i < newNames.size(); ++i) {
        const std::string& from = listing.Rows[i].OldName;
        const std::string_view to = RelativeToFolder(newNames[i]);
        if (IsValidRename(from, to) && from != to) names.push_back(from);
    }
    return names;
}

// Rows from `first` on could not be journaled (the journal's volume is full): none is renamed,
// and each says why.
void FailUnjournaled(TFolderListing& listing, std::vector<std::string>& newNames, std::size_t first,
                     int error) {
    for (std::size_t i = first; i < listing.Rows.size(); ++i) {
        listing.Rows[i].Status = TRenameStatus::Failed;
        listing.Rows[i].Error = error;
        listing.Rows[i].NewName = std::move(newNames[i]);
    }
}

} // namespace

TNumbering CheckRenameSettings(const TFolderListing& listing, const TRenameSettings& settings) {
    const TNumbering numbering{.Start = ParseSettingsInteger(settings.StartNumber),
                               .Digits = ParseDigitCount(settings.Digits)};
    if (!listing.Rows.empty()) {
        const TFolderEntry& first = listing.Rows.front();
        ComposeNewName(first.OldName, first.TypeText, settings, numbering.Digits, numbering.Start);
    }
    return numbering;
}

void ApplyRenames(TFolderListing& listing, const TRenameSettings& settings,
                  const TBatchControl& control) {
    const auto [start, digits] = CheckRenameSettings(listing, settings);
    if (listing.Rows.empty()) return;
    if (!NamesFolderOnDisk(control.JournalFolder))
        throw TError(std::string(messages::JournalFolderUnknown));
    std::vector<std::string> newNames = ComposeNewNames(listing, settings, start, digits);
    platform::TRenameFolder folder(listing.CurrentFolder);
    const TJournalHead head = OpenedFolder(folder, listing);
    std::optional<TBatchJournal> journal;
    const std::size_t total = listing.Rows.size();
    std::size_t journaled = 0;       // the rows whose records are synced
    std::future<TJournalSpan> ahead; // the span from `journaled` on
    std::vector<bool> replaced(total);
    const auto take = [&](TJournalSpan&& span) {
        for (const std::size_t row : span.Replaced)
            replaced[row] = true;
        return std::move(span.Records);
    };
    const auto readAhead = [&] {
        if (journaled < total)
            ahead =
                std::async(std::launch::async, EncodeRows, std::cref(folder), std::cref(listing),
                           std::cref(newNames), journaled, SpanEnd(journaled, total));
    };
    if (folder.OpenError() == 0) {
        journaled = SpanEnd(0, total);
        journal.emplace(control.JournalFolder,
                        EncodeBegin(head, total) +
                            take(EncodeRows(folder, listing, newNames, 0, journaled)));
        readAhead();
    }
    const std::string_view journalsHolder =
        JournalsHolder(listing.CurrentFolder, control.JournalFolder);
    std::optional<TWindowsNames> windowsNames;
    if (folder.WindowsReads()) windowsNames.emplace(folder);
    std::size_t done = 0;
    folder.LookAhead([&] { return EntriesToRename(listing, newNames, done + 1); });
    for (; done < total && !control.Stop.stop_requested(); ++done) {
        TFolderEntry& row = listing.Rows[done];
        if (journal && done == journaled) {
            if (const int error = journal->AppendRows(take(ahead.get())); error != 0) {
                FailUnjournaled(listing, newNames, done, error);
                break;
            }
            journaled = SpanEnd(journaled, total);
            readAhead();
        }
        const bool twoSteps =
            journal && IsCaseOnlyRename(row.OldName, RelativeToFolder(newNames[done]));
        RenameRow(folder, windowsNames ? &*windowsNames : nullptr, journalsHolder, replaced[done],
                  row, newNames[done],
                  twoSteps ? StopOverName(journal->Name(), done, row.OldName) : std::string());
        row.NewName = std::move(newNames[done]);
        if (journal) journal->Outcome(done, OutcomeOf(row.Status), row.Error);
        if (control.Progress) control.Progress(done + 1, total);
    }
    if (journal) journal->Close(folder);
}

int RenameEntry(const std::string& folder, const std::string& from, const std::string& to) {
    if (!IsUsableTarget(to) || !IsPlainName(to) || !IsPlainName(from)) return rrInvalidName;
    if (from == to) return 0;
    const platform::TRenameFolder opened(folder);
    if (opened.OpenError() != 0) return opened.OpenError();
    return RenameNoReplace(opened, from, to, {},
                           IsCaseOnlyRename(from, to) ? UnjournaledStopOverName(from) : "");
}

} // namespace engine
