#include "engine/batch_journal.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "engine/messages.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

constexpr std::size_t OutcomeBlock = 64 * 1024;
constexpr std::size_t NameDigits = 10;
constexpr int NameTries = 1000;
constexpr std::size_t TailBytes = 4096;

bool IsJournalName(const std::string& name) {
    return name.size() == NameDigits + JournalSuffix.size() && name.ends_with(JournalSuffix) &&
           std::all_of(name.begin(), name.begin() + NameDigits,
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::string NameOf(std::uint64_t number) {
    char text[32];
    std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(number));
    return text + std::string(JournalSuffix);
}

std::uint64_t NumberOf(const std::string& name) {
    std::uint64_t number = 0;
    std::from_chars(name.data(), name.data() + NameDigits, number);
    return number;
}

[[noreturn]] void ThrowUnwritable(const std::string& path, int error) {
    throw TError(messages::Format(messages::JournalUnwritable, path, RenameFailureText(error)));
}

} // namespace

char OutcomeLetter(TRenameStatus status) {
    switch (status) {
    case TRenameStatus::Renamed:
        return 'R';
    case TRenameStatus::Skipped:
        return 'S';
    case TRenameStatus::Failed:
        return 'F';
    case TRenameStatus::NotRun:
        break;
    }
    return 0;
}

std::string JournalPath(const std::string& journalFolder, const std::string& name) {
    if (!journalFolder.empty() && platform::IsSeparator(journalFolder.back()))
        return journalFolder + name;
    return journalFolder + platform::FolderSeparator + name;
}

std::vector<std::string> JournalNames(const std::string& journalFolder) {
    std::vector<std::string> names = platform::FolderFileNames(journalFolder);
    std::erase_if(names, [](const std::string& name) { return !IsJournalName(name); });
    std::sort(names.begin(), names.end());
    return names;
}

void PruneJournals(const std::string& journalFolder, std::size_t kept) {
    const std::vector<std::string> names = JournalNames(journalFolder);
    for (std::size_t i = 0; i + kept < names.size(); ++i) {
        const std::string path = JournalPath(journalFolder, names[i]);
        std::string tail;
        if (platform::ReadFileBytes(path, tail, TailBytes, true) == 0 &&
            !DecodeEnding(tail).empty())
            platform::RemoveFile(path);
    }
}

TBatchJournal::TBatchJournal(const std::string& journalFolder, const TJournalHead& head,
                             const std::vector<TJournalRow>& rows)
    : m_folder(journalFolder) {
    if (const int error = platform::MakeFolderPath(m_folder); error != 0)
        ThrowUnwritable(m_folder, error);
    const std::vector<std::string> names = JournalNames(m_folder);
    std::uint64_t number = names.empty() ? 1 : NumberOf(names.back()) + 1;
    int error = 0;
    for (int tries = 0; tries < NameTries; ++tries, ++number) {
        m_name = NameOf(number);
        error = m_file.Create(m_folder, m_name);
        if (!platform::IsNameTaken(error)) break;
    }
    if (error != 0) ThrowUnwritable(m_folder, error);
    error = m_file.Append(EncodeJournalStart(head, rows));
    if (error == 0) error = m_file.Sync();
    if (error != 0) {
        platform::RemoveFile(JournalPath(m_folder, m_name)); // a partial journal would mislead
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

void TBatchJournal::Outcome(std::size_t index, char status, int error) {
    EncodeOutcome(m_buffer, index, status, error);
    if (m_buffer.size() >= OutcomeBlock) flush();
}

void TBatchJournal::Close(const platform::TRenameFolder& folder) {
    folder.Sync();
    m_buffer += EncodeEnding("done");
    flush();
    m_file.Sync();
    PruneJournals(m_folder);
}

} // namespace engine
