#pragma once
// Writing one journal while its batch runs (the format is in engine/journal.h).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal.h"
#include "engine/platform/journal_files.h"
#include "engine/platform/rename_folder.h"

namespace engine {

// The journal of one running batch or undo, locked until it is closed or destroyed. Outcomes
// are buffered and written in blocks; after a crash the undo finds each row's entry by its
// identity.
class TBatchJournal {
public:
    // Writes `start`, the begin record and the first rows or every row (EncodeJournalStart, or
    // EncodeBegin and EncodeRow), as a new journal in `journalFolder` (made with mode 0700 when
    // missing) and syncs it, before the caller's first rename. Throws TError, leaving no journal
    // behind.
    TBatchJournal(const std::string& journalFolder, std::string_view start);
    // Writes the buffered outcomes; without Close() the journal stays open, as after a crash.
    ~TBatchJournal();
    TBatchJournal(const TBatchJournal&) = delete;
    TBatchJournal& operator=(const TBatchJournal&) = delete;

    // Appends more row records (EncodeRow) and syncs them. Returns 0 or the error code.
    int AppendRows(std::string_view records);
    void Outcome(std::size_t index, TOutcome outcome, int error);
    // Syncs `folder` (the renames), then writes the end record and syncs the journal;
    // prunes journals beyond the newest JournalsKept. A failure here is not reported: the
    // renames are done, and the journal then shows as open at the next start.
    void Close(const platform::TRenameFolder& folder, TEnding how = TEnding::Done);
    const std::string& Name() const { return m_name; }

private:
    void flush();

    std::string m_folder;
    std::string m_name;
    platform::TJournalFile m_file;
    std::string m_buffer;
    std::size_t m_renamed = 0;
};

// The journal's outcome of a row's status. Pure.
TOutcome OutcomeOf(TRenameStatus status);

// The free name row `index` of journal `journalName` passes through where a case-only rename
// of `from` takes two steps, so the undo knows where to look after a crash between them. Pure.
std::string StopOverName(const std::string& journalName, std::size_t index,
                         const std::string& from);

} // namespace engine
