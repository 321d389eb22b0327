#include "engine/batch_journal.h"

#include <algorithm>

#include "engine/journal_folder.h"
#include "engine/messages.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

constexpr std::size_t OutcomeBlock = 64 * 1024;
constexpr int NameTries = 1000;

[[noreturn]] void ThrowUnwritable(const std::string& path, int error) {
    throw TError(messages::Format(messages::JournalUnwritable, path, RenameFailureText(error)));
}

} // namespace

TOutcome OutcomeOf(TRenameStatus status) {
    switch (status) {
    case TRenameStatus::Renamed:
        return TOutcome::Renamed;
    case TRenameStatus::Skipped:
        return TOutcome::Skipped;
    case TRenameStatus::Failed:
        return TOutcome::Failed;
    case TRenameStatus::NotRun:
        break;
    }
    return TOutcome::Unknown;
}

std::string StopOverName(const std::string& journalName, std::size_t index,
                         const std::string& from) {
    const std::string number = journalName.substr(0, journalName.size() - JournalSuffix.size());
    return from + ".zelvora-case-" + number + "-" + std::to_string(index);
}

TBatchJournal::TBatchJournal(const std::string& journalFolder, std::string_view start)
    : m_folder(journalFolder) {
    if (const int error = platform::MakeFolderPath(m_folder); error != 0)
        ThrowUnwritable(m_folder, error);
    std::uint64_t number = NextJournalNumber(m_folder);
    int error = 0;
    for (int tries = 0; tries < NameTries; ++tries, ++number) {
        m_name = JournalName(number);
        error = m_file.Create(m_folder, m_name);
        if (!platform::IsNameTaken(error)) break;
    }
    if (error != 0) ThrowUnwritable(m_folder, error);
    error = m_file.Append(start);
    if (error == 0) error = m_file.Sync();
    if (error != 0) {
        m_file.Remove(); // a partial journal would offer to recover a batch that never ran
        ThrowUnwritable(JournalPath(m_folder, m_name), error);
    }
}

TBatchJournal::~TBatchJournal() {
    flush();
}

void TBatchJournal::flush() {
    if (m_buffer.empty()) return;
    m_file.Append(m_buffer);
    m_buffer.clear();
}

int TBatchJournal::AppendRows(std::string_view records) {
    const int error = m_file.Append(records);
    return error != 0 ? error : m_file.Sync();
}

void TBatchJournal::Outcome(std::size_t index, TOutcome outcome, int error) {
    EncodeOutcome(m_buffer, index, outcome, error);
    if (outcome == TOutcome::Renamed || error == rrLeftAtStopOver) ++m_renamed; // moved either way
    if (m_buffer.size() >= OutcomeBlock) flush();
}

void TBatchJournal::Close(const platform::TRenameFolder& folder, TEnding how) {
    folder.Sync();
    m_buffer += EncodeEnding(how, m_renamed);
    flush();
    m_file.Sync();
    PruneJournals(m_folder);
}

} // namespace engine
