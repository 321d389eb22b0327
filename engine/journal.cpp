#include "engine/journal.h"

#include <charconv>

#include "engine/messages.h"

namespace engine {
namespace {

void AppendField(std::string& out, std::string_view bytes) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, bytes.size()).ptr;
    out.append(digits, end);
    out += ':';
    out += bytes;
}

void AppendNumber(std::string& out, std::uint64_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    AppendField(out, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

// One record split into its tag and fields.
struct TRecord {
    char Tag = 0;
    std::vector<std::string_view> Fields;
};

// Reads the record that starts at `at` (a NUL); false when it is torn or malformed.
bool ReadRecord(std::string_view bytes, std::size_t& at, TRecord& record) {
    if (at + 2 > bytes.size() || bytes[at] != '\0') return false;
    record.Tag = bytes[at + 1];
    record.Fields.clear();
    std::size_t pos = at + 2;
    while (pos < bytes.size() && bytes[pos] != '\n') {
        std::size_t length = 0;
        const auto [end, error] =
            std::from_chars(bytes.data() + pos, bytes.data() + bytes.size(), length);
        pos = static_cast<std::size_t>(end - bytes.data());
        if (error != std::errc() || pos >= bytes.size() || bytes[pos] != ':' ||
            length > bytes.size() - pos - 1)
            return false;
        const std::string_view field = bytes.substr(pos + 1, length);
        if (field.find('\0') != std::string_view::npos) return false; // runs into the next record
        record.Fields.push_back(field);
        pos += 1 + length;
    }
    if (pos >= bytes.size()) return false;
    at = pos + 1;
    return true;
}

// Moves `at` to the next record start after a torn one.
void SkipToNextRecord(std::string_view bytes, std::size_t& at) {
    const std::size_t next = bytes.find('\0', at + 1);
    at = next == std::string_view::npos ? bytes.size() : next;
}

template <typename TNumber> bool ParseNumber(std::string_view text, TNumber& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<TJournalHead> HeadOf(const TRecord& record, std::uint64_t& rowCount) {
    if (record.Tag != 'B' || record.Fields.size() != 7 || record.Fields[0] != JournalVersion)
        return std::nullopt;
    TJournalHead head;
    if (record.Fields[1] == "undo")
        head.Kind = TJournalKind::Undo;
    else if (record.Fields[1] != "batch")
        return std::nullopt;
    head.Folder = record.Fields[2];
    head.Undoes = record.Fields[5];
    if (!ParseNumber(record.Fields[3], head.Device) || !ParseNumber(record.Fields[4], head.Inode) ||
        !ParseNumber(record.Fields[6], rowCount))
        return std::nullopt;
    return head;
}

void ApplyOutcome(const TRecord& record, std::vector<TJournalRow>& rows) {
    std::size_t index = 0;
    int error = 0;
    if (record.Fields.size() != 3 || !ParseNumber(record.Fields[0], index) ||
        index >= rows.size() || record.Fields[1].size() != 1 ||
        !ParseNumber(record.Fields[2], error))
        return;
    rows[index].Outcome = record.Fields[1][0];
    rows[index].Error = error;
}

} // namespace

std::string EncodeJournalStart(const TJournalHead& head, const std::vector<TJournalRow>& rows) {
    std::string out;
    out += '\0';
    out += 'B';
    AppendField(out, JournalVersion);
    AppendField(out, head.Kind == TJournalKind::Undo ? "undo" : "batch");
    AppendField(out, head.Folder);
    AppendNumber(out, head.Device);
    AppendNumber(out, head.Inode);
    AppendField(out, head.Undoes);
    AppendNumber(out, rows.size());
    out += '\n';
    for (const TJournalRow& row : rows) {
        out += '\0';
        out += 'R';
        AppendField(out, row.From);
        AppendField(out, row.To);
        out += '\n';
    }
    return out;
}

void EncodeOutcome(std::string& out, std::size_t index, char status, int error) {
    out += '\0';
    out += 'O';
    AppendNumber(out, index);
    AppendField(out, std::string_view(&status, 1));
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, error).ptr;
    AppendField(out, std::string_view(digits, static_cast<std::size_t>(end - digits)));
    out += '\n';
}

std::string EncodeEnding(std::string_view how) {
    std::string out("\0E", 2);
    AppendField(out, how);
    out += '\n';
    return out;
}

std::optional<TJournalHead> DecodeJournalHead(std::string_view firstBytes) {
    std::size_t at = 0;
    TRecord record;
    std::uint64_t rowCount = 0;
    if (!ReadRecord(firstBytes, at, record)) return std::nullopt;
    return HeadOf(record, rowCount);
}

TJournal DecodeJournal(std::string_view bytes) {
    std::size_t at = 0;
    TRecord record;
    std::uint64_t rowCount = 0;
    std::optional<TJournalHead> head;
    if (ReadRecord(bytes, at, record)) head = HeadOf(record, rowCount);
    if (!head) throw TError(std::string(messages::JournalUnreadable));
    TJournal journal{std::move(*head), {}, {}};
    while (at < bytes.size()) {
        if (!ReadRecord(bytes, at, record)) {
            SkipToNextRecord(bytes, at);
            continue;
        }
        if (record.Tag == 'R' && record.Fields.size() == 2 && journal.Rows.size() < rowCount)
            journal.Rows.push_back({std::string(record.Fields[0]), std::string(record.Fields[1])});
        else if (record.Tag == 'O')
            ApplyOutcome(record, journal.Rows);
        else if (record.Tag == 'E' && record.Fields.size() == 1)
            journal.Ending = record.Fields[0];
    }
    return journal;
}

std::string DecodeEnding(std::string_view lastBytes) {
    const std::size_t start = lastBytes.rfind('\0');
    if (start == std::string_view::npos) return {};
    std::size_t at = start;
    TRecord record;
    if (!ReadRecord(lastBytes, at, record) || at != lastBytes.size() || record.Tag != 'E' ||
        record.Fields.size() != 1)
        return {};
    return std::string(record.Fields[0]);
}

} // namespace engine
