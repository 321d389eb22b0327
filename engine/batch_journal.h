#pragma once
// Writing one journal while its batch runs (the format is in engine/journal.h).

#include <cstddef>
#include <string>
#include <vector>

#include "engine/journal.h"
#include "engine/platform/journal_files.h"
#include "engine/platform/rename_folder.h"

namespace engine {

// The journal of one running batch or undo. Outcomes are buffered and written in blocks; rows
// a crash leaves without an outcome are looked up in the folder by the undo.
class TBatchJournal {
public:
    // Writes the begin record and every row as a new journal in `journalFolder` (made with mode
    // 0700 when missing) and syncs it, before the caller's first rename. Throws TError.
    TBatchJournal(const std::string& journalFolder, const TJournalHead& head,
                  const std::vector<TJournalRow>& rows);
    // Writes the buffered outcomes; without Close() the journal stays open, as after a crash.
    ~TBatchJournal();
    TBatchJournal(const TBatchJournal&) = delete;
    TBatchJournal& operator=(const TBatchJournal&) = delete;

    void Outcome(std::size_t index, char status, int error);
    // Syncs `folder` (the renames), then writes the end record and syncs the journal; prunes
    // closed journals beyond the newest JournalsKept. A failure here is not reported: the
    // renames are done, and the journal then shows as open at the next start.
    void Close(const platform::TRenameFolder& folder);
    const std::string& Name() const { return m_name; }

private:
    void flush();

    std::string m_folder;
    std::string m_name;
    platform::TJournalFile m_file;
    std::string m_buffer;
};

// The outcome letter of a row's status ('R', 'S', 'F'; 0 for NotRun). Pure.
char OutcomeLetter(TRenameStatus status);

// `journalFolder` + "/" + `name`. Pure.
std::string JournalPath(const std::string& journalFolder, const std::string& name);

// Journal names in `journalFolder`, oldest first. Reads the disk.
std::vector<std::string> JournalNames(const std::string& journalFolder);

// Removes closed journals beyond the newest `kept`; open ones stay for recovery. Changes the disk.
void PruneJournals(const std::string& journalFolder, std::size_t kept = JournalsKept);

} // namespace engine
