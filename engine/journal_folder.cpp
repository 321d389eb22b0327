#include "engine/journal_folder.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "engine/engine.h"
#include "engine/messages.h"
#include "engine/platform/journal_files.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

constexpr std::size_t MinDigits = 10;
constexpr std::size_t MaxDigits = 19; // every number of 19 digits fits 64 bits
constexpr std::size_t HeadBytes = 64 * 1024;
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

std::uint64_t NumberOf(const std::string& name) {
    std::uint64_t number = 0;
    std::from_chars(name.data(), name.data() + name.size() - JournalSuffix.size(), number);
    return number;
}

// Whether the journal `file` (locked) can go: a start that never got written whole, or a closed
// journal beyond the ones kept.
bool IsUnneeded(const platform::TJournalFile& file, bool beyondKept) {
    std::string head, tail;
    if (file.ReadPart(head, HeadBytes, false) != 0) return false;
    if (!DecodeJournalHead(head) && head.size() == HeadBytes &&
        file.ReadPart(head, MaxJournalHeadBytes, false) !=
            0) // a folder path longer than the first block
        return false;
    if (!DecodeJournalHead(head))
        return head.size() < MaxJournalHeadBytes; // else someone else's file
    return beyondKept && file.ReadPart(tail, TailBytes, true) == 0 &&
           DecodeEnding(tail).How != TEnding::Open;
}

std::optional<TJournalSummary> Summarize(const std::string& journalFolder,
                                         const std::string& name) {
    const std::string path = JournalPath(journalFolder, name);
    int error = 0;
    const std::optional<TJournalHead> head = ReadJournalHead(path, error);
    const bool running = platform::IsJournalBusy(error) || platform::IsJournalLocked(path);
    if (running)
        return TJournalSummary{.Name = name,
                               .Kind = head ? head->Kind : TJournalKind::Batch,
                               .Folder = head ? head->Folder : std::string(),
                               .UndoesName = head ? head->Undoes : std::string(),
                               .Running = true};
    std::string tail;
    if (!head || platform::ReadFileBytes(path, tail, TailBytes, true) != 0) return std::nullopt;
    const TJournalEnding ending = DecodeEnding(tail);
    // An undo stopped or cut short took back only part of its journal, which stays to be
    // undone.
    return TJournalSummary{
        .Name = name,
        .Kind = head->Kind,
        .Folder = head->Folder,
        .Closed = ending.How != TEnding::Open,
        .UndoesName = ending.How == TEnding::Done ? head->Undoes : std::string(),
        .RenamedAny = ending.Renamed.value_or(1) != 0,
    };
}

} // namespace

std::string JournalName(std::uint64_t number) {
    char text[32];
    std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(number));
    return text + std::string(JournalSuffix);
}

std::uint64_t NextJournalNumber(const std::string& journalFolder) {
    const std::vector<std::string> names = JournalNames(journalFolder);
    if (names.empty()) return 1;
    const std::uint64_t last = NumberOf(names.back());
    if (last >= 9'999'999'999'999'999'999ULL)
        throw TError(messages::Format(messages::JournalNumbersUsedUp, journalFolder));
    return last + 1;
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

std::optional<TJournalHead> ReadJournalHead(const std::string& path, int& error) {
    std::string bytes;
    error = platform::ReadFileBytes(path, bytes, HeadBytes);
    if (error != 0) return std::nullopt;
    std::optional<TJournalHead> head = DecodeJournalHead(bytes);
    if (!head && bytes.size() == HeadBytes) { // a folder path longer than the first block
        error = platform::ReadFileBytes(path, bytes, MaxJournalHeadBytes);
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

TUndoStep NextUndo(const std::vector<TJournalSummary>& journals) {
    for (auto journal = journals.rbegin(); journal != journals.rend(); ++journal) {
        if (!journal->Closed) return {.InTheWay = &*journal};
        if (journal->Kind == TJournalKind::Batch && !journal->Undone && journal->RenamedAny)
            return {.Batch = &*journal};
    }
    return {};
}

} // namespace engine
