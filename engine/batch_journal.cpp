#include "engine/batch_journal.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "engine/messages.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

constexpr std::size_t OutcomeBlock = 64 * 1024;
constexpr std::size_t MinDigits = 10;
constexpr std::size_t MaxDigits = 19; // every number of 19 digits fits 64 bits
constexpr int NameTries = 1000;
constexpr std::size_t HeadBytes = 64 * 1024;
constexpr std::size_t MaxHeadBytes = 1024 * 1024; // a folder path of any length fits
constexpr std::size_t TailBytes = 4096;

bool IsJournalName(const std::string& name) {
    const std::size_t digits = name.size() - std::min(name.size(), JournalSuffix.size());
    return digits >= MinDigits && digits <= MaxDigits && name.ends_with(JournalSuffix) &&
           std::all_of(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(digits),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Numbers of more digits are newer: "10000000000.journal" follows "9999999999.journal".
bool IsOlder(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::string NameOf(std::uint64_t number) {
    char text[32];
    std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(number));
    return text + std::string(JournalSuffix);
}

std::uint64_t NumberOf(const std::string& name) {
    std::uint64_t number = 0;
    std::from_chars(name.data(), name.data() + name.size() - JournalSuffix.size(), number);
    return number;
}

[[noreturn]] void ThrowUnwritable(const std::string& path, int error) {
    throw TError(messages::Format(messages::JournalUnwritable, path, RenameFailureText(error)));
}

std::uint64_t NextNumber(const std::string& journalFolder) {
    const std::vector<std::string> names = JournalNames(journalFolder);
    if (names.empty()) return 1;
    const std::uint64_t last = NumberOf(names.back());
    if (last >= 9'999'999'999'999'999'999ULL)
        throw TError(messages::Format(messages::JournalNumbersUsedUp, journalFolder));
    return last + 1;
}

// Whether the journal `file` (locked) can go: a start that never got written whole, or a closed
// journal beyond the ones kept.
bool IsUnneeded(const platform::TJournalFile& file, bool beyondKept) {
    std::string head, tail;
    if (file.ReadPart(head, HeadBytes, false) != 0) return false;
    if (!DecodeJournalHead(head) && head.size() == HeadBytes &&
        file.ReadPart(head, MaxHeadBytes, false) != 0) // a folder path longer than the first block
        return false;
    if (!DecodeJournalHead(head)) return head.size() < MaxHeadBytes; // else someone else's file
    return beyondKept && file.ReadPart(tail, TailBytes, true) == 0 &&
           DecodeEnding(tail).How != TEnding::Open;
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

std::string JournalPath(const std::string& journalFolder, const std::string& name) {
    if (!journalFolder.empty() && platform::IsSeparator(journalFolder.back()))
        return journalFolder + name;
    return journalFolder + platform::FolderSeparator + name;
}

std::vector<std::string> JournalNames(const std::string& journalFolder) {
    std::vector<std::string> names = platform::FolderFileNames(journalFolder);
    std::erase_if(names, [](const std::string& name) { return !IsJournalName(name); });
    std::sort(names.begin(), names.end(), IsOlder);
    return names;
}

std::string StopOverName(const std::string& journalName, std::size_t index,
                         const std::string& from) {
    const std::string number = journalName.substr(0, journalName.size() - JournalSuffix.size());
    return from + ".zelvora-case-" + number + "-" + std::to_string(index);
}

std::optional<TJournalHead> ReadJournalHead(const std::string& path, int& error) {
    std::string bytes;
    error = platform::ReadFileBytes(path, bytes, HeadBytes);
    if (error != 0) return std::nullopt;
    std::optional<TJournalHead> head = DecodeJournalHead(bytes);
    if (!head && bytes.size() == HeadBytes) { // a folder path longer than the first block
        error = platform::ReadFileBytes(path, bytes, MaxHeadBytes);
        if (error == 0) head = DecodeJournalHead(bytes);
    }
    return head;
}

void PruneJournals(const std::string& journalFolder, std::size_t kept) {
    const std::vector<std::string> names = JournalNames(journalFolder);
    for (std::size_t i = 0; i < names.size(); ++i) {
        platform::TJournalFile file;
        if (file.Open(journalFolder, names[i]) == 0 && IsUnneeded(file, i + kept < names.size()))
            file.Remove();
    }
}

TBatchJournal::TBatchJournal(const std::string& journalFolder, std::string_view start)
    : m_folder(journalFolder) {
    if (const int error = platform::MakeFolderPath(m_folder); error != 0)
        ThrowUnwritable(m_folder, error);
    std::uint64_t number = NextNumber(m_folder);
    int error = 0;
    for (int tries = 0; tries < NameTries; ++tries, ++number) {
        m_name = NameOf(number);
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
