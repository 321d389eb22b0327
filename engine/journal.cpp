#include "engine/journal.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "engine/messages.h"

namespace engine {
namespace {

constexpr std::size_t CheckDigits = 8;
constexpr std::string_view HexDigits = "0123456789abcdef";
constexpr std::string_view FolderShape = "folder";

// Table 0 is the byte-wise table of the CRC-32 (reflected polynomial 0xedb88320); table k
// advances a byte's remainder by k more zero bytes, so a step takes sixteen bytes in sixteen
// independent lookups (slicing-by-16) and gives the byte-wise result.
using TCrcTables = std::array<std::array<std::uint32_t, 256>, 16>;

constexpr TCrcTables MakeCrcTables() {
    TCrcTables tables{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? 0xedb88320u ^ (value >> 1) : value >> 1;
        tables[0][i] = value;
    }
    for (std::size_t k = 1; k < tables.size(); ++k)
        for (std::size_t i = 0; i < 256; ++i)
            tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xff];
    return tables;
}

constexpr TCrcTables CrcTables = MakeCrcTables();

// The four bytes of `word`, followed by `k` more bytes, through tables k + 3 down to k.
std::uint32_t SliceFour(std::uint32_t word, std::size_t k) {
    return CrcTables[k + 3][word & 0xff] ^ CrcTables[k + 2][(word >> 8) & 0xff] ^
           CrcTables[k + 1][(word >> 16) & 0xff] ^ CrcTables[k][word >> 24];
}

// Byte by byte, so the result does not depend on the machine's byte order.
std::uint32_t LittleEndian32(const unsigned char* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}

// The check of `record` as written: eight lowercase hexadecimal digits, most significant first.
std::array<char, CheckDigits> CheckOf(std::string_view record) {
    std::uint32_t crc = Crc32(record);
    std::array<char, CheckDigits> text{};
    for (std::size_t i = CheckDigits; i-- > 0; crc >>= 4)
        text[i] = HexDigits[crc & 0xf];
    return text;
}

// One record written in place at the end of `out`: room is made once for what the record
// usually takes, and each field only checks it, so a record costs no string append per piece.
class TRecordWriter {
public:
    // `textBytes`: the bytes of the record's text fields, to make room for them at once.
    TRecordWriter(std::string& out, char tag, std::size_t textBytes)
        : m_out(out), m_start(out.size()) {
        out.resize(m_start + RecordBytes + textBytes);
        m_at = out.data() + m_start;
        *m_at++ = '\0';
        *m_at++ = tag;
    }

    // A name holding NUL is never renamed (the row fails first); it is written as empty, since
    // a NUL inside a record would cut it.
    void Field(std::string_view bytes) {
        PlainField(bytes.find('\0') == std::string_view::npos ? bytes : std::string_view());
    }

    template <typename TNumber> void Number(TNumber number) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        PlainField(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }

    // A file's shape in one field: "size modified".
    void Shape(std::uint64_t size, std::int64_t modified) {
        char digits[48];
        char* const sizeEnd = std::to_chars(digits, digits + 20, size).ptr; // 20 digits at most
        *sizeEnd = ' ';
        char* const end = std::to_chars(sizeEnd + 1, digits + sizeof digits, modified).ptr;
        PlainField(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }

    void Hex(std::string_view bytes) {
        Room(LengthBytes + 2 * bytes.size());
        m_at = std::to_chars(m_at, m_at + LengthBytes, 2 * bytes.size()).ptr;
        *m_at++ = ':';
        for (const char byte : bytes) {
            *m_at++ = HexDigits[static_cast<unsigned char>(byte) >> 4];
            *m_at++ = HexDigits[static_cast<unsigned char>(byte) & 0xf];
        }
    }

    // Appends the check and the line end, and gives back the room not used.
    void End() {
        const std::array<char, CheckDigits> check = CheckOf(std::string_view(
            m_out.data() + m_start, static_cast<std::size_t>(m_at - m_out.data()) - m_start));
        PlainField(std::string_view(check.data(), check.size()));
        Room(1);
        *m_at++ = '\n';
        m_out.resize(static_cast<std::size_t>(m_at - m_out.data()));
    }

private:
    // What a row's or an outcome's record takes beyond its text fields (tag, lengths, numbers,
    // check), with some to spare: room made is filled first, so it is kept small, and a longer
    // record makes more as its fields come.
    static constexpr std::size_t RecordBytes = 64;
    static constexpr std::size_t LengthBytes = 24; // a length's digits and its colon

    void PlainField(std::string_view text) {
        Room(LengthBytes + text.size());
        m_at = std::to_chars(m_at, m_at + LengthBytes, text.size()).ptr;
        *m_at++ = ':';
        m_at = std::copy(text.begin(), text.end(), m_at);
    }

    // Makes room for `bytes` more bytes at m_at; std::string grows its capacity geometrically.
    void Room(std::size_t bytes) {
        const auto used = static_cast<std::size_t>(m_at - m_out.data());
        if (m_out.size() - used >= bytes) return;
        m_out.resize(used + bytes);
        m_at = m_out.data() + used;
    }

    std::string& m_out;
    std::size_t m_start;
    char* m_at;
};

// One record split into its tag and fields; the check field, when the record has one, is
// verified and left out.
struct TRecord {
    char Tag = 0;
    std::vector<std::string_view> Fields;
};

// Reads the record that starts at `at` (a NUL); false when it is torn or malformed, or, with
// `checked`, when its check field is missing or wrong.
bool ReadRecord(std::string_view bytes, std::size_t& at, TRecord& record, bool checked) {
    if (at + 2 > bytes.size() || bytes[at] != '\0') return false;
    const std::size_t start = at;
    record.Tag = bytes[at + 1];
    record.Fields.clear();
    std::size_t pos = at + 2, lastField = pos;
    while (pos < bytes.size() && bytes[pos] != '\n') {
        lastField = pos;
        std::size_t length = 0;
        const auto [end, error] =
            std::from_chars(bytes.data() + pos, bytes.data() + bytes.size(), length);
        pos = static_cast<std::size_t>(end - bytes.data());
        if (error != std::errc() || pos >= bytes.size() || bytes[pos] != ':' ||
            length > bytes.size() - pos - 1)
            return false;
        record.Fields.push_back(bytes.substr(pos + 1, length));
        pos += 1 + length;
    }
    if (pos >= bytes.size()) return false;
    // A NUL in a field: it runs into the next record. Lengths and colons are never NUL, so the
    // fields are searched in one pass.
    if (bytes.substr(start + 2, pos - start - 2).find('\0') != std::string_view::npos) return false;
    if (checked) {
        if (record.Fields.empty()) return false;
        const std::array<char, CheckDigits> check = CheckOf(bytes.substr(start, lastField - start));
        if (record.Fields.back() != std::string_view(check.data(), check.size())) return false;
        record.Fields.pop_back();
    }
    at = pos + 1;
    return true;
}

template <typename TNumber> bool ParseNumber(std::string_view text, TNumber& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Handles are written in hexadecimal: their bytes may be NUL, which starts a record.
bool ParseHex(std::string_view text, std::string& bytes) {
    if (text.size() % 2 != 0) return false;
    bytes.resize(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexValue(text[2 * i]), low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<char>(high << 4 | low);
    }
    return true;
}

constexpr std::array<std::pair<TEnding, std::string_view>, 4> EndingWords{{
    {TEnding::Done, "done"},
    {TEnding::Stopped, "stopped"},
    {TEnding::Kept, "kept"},
    {TEnding::Undone, "undone"},
}};

std::string_view WordOf(TEnding ending) {
    for (const auto& [how, word] : EndingWords)
        if (how == ending) return word;
    return "other";
}

// A word this version does not know (one of a later version's) closes the journal all the same.
TEnding EndingOf(std::string_view word) {
    for (const auto& [how, known] : EndingWords)
        if (known == word) return how;
    return TEnding::Other;
}

// The first record: its version decides whether the others carry checks.
std::optional<TJournalHead> ReadHead(std::string_view bytes, std::size_t& at, int& version) {
    TRecord record;
    std::size_t probe = at;
    const bool checked = ReadRecord(bytes, probe, record, true);
    if (!checked) {
        probe = at;
        if (!ReadRecord(bytes, probe, record, false)) return std::nullopt;
    }
    if (record.Tag != 'B' || record.Fields.size() != 7) return std::nullopt;
    if (!checked)
        version = record.Fields[0] == "1" ? 1 : 0;
    else
        version = record.Fields[0] == "2" ? 2 : record.Fields[0] == JournalVersion ? 3 : 0;
    if (version == 0) return std::nullopt;
    TJournalHead head;
    if (record.Fields[1] == "undo")
        head.Kind = TJournalKind::Undo;
    else if (record.Fields[1] != "batch")
        return std::nullopt;
    head.Folder = record.Fields[2];
    head.Undoes = record.Fields[5];
    std::uint64_t inode = 0; // version 2 knew the folder by numbers a remount may change
    if (!ParseNumber(record.Fields[3], head.Volume) ||
        !ParseNumber(record.Fields[6], head.RowCount))
        return std::nullopt;
    if (version < 3 ? !ParseNumber(record.Fields[4], inode)
                    : !ParseHex(record.Fields[4], head.FolderHandle))
        return std::nullopt;
    if (version < 3) head.Volume = 0;
    at = probe;
    return head;
}

// A row's identity: a handle, then its shape: "size modified", "folder", or empty.
bool ReadIdentity(const std::vector<std::string_view>& fields, TFileIdentity& identity) {
    if (!ParseHex(fields[2], identity.Handle)) return false;
    const std::string_view shape = fields[3];
    identity.HasShape = !shape.empty();
    identity.IsFolder = shape == FolderShape;
    if (shape.empty() || identity.IsFolder) return true;
    const std::size_t space = shape.find(' ');
    return space != std::string_view::npos && ParseNumber(shape.substr(0, space), identity.Size) &&
           ParseNumber(shape.substr(space + 1), identity.Modified);
}

bool ReadRow(const TRecord& record, int version, TJournalRow& row) {
    static constexpr std::array<std::size_t, 4> FieldCounts{0, 2, 4, 4};
    if (record.Tag != 'R' || record.Fields.size() != FieldCounts[version]) return false;
    row.From = record.Fields[0];
    row.To = record.Fields[1];
    std::uint64_t number = 0;
    switch (version) {
    case 2: // device and inode numbers: a remount may change the one, a new file reuse the other
        return ParseNumber(record.Fields[2], number) && ParseNumber(record.Fields[3], number);
    case 3:
        return ReadIdentity(record.Fields, row.Identity);
    default:
        return true;
    }
}

bool ApplyOutcome(const TRecord& record, std::vector<TJournalRow>& rows) {
    std::size_t index = 0;
    int error = 0;
    if (record.Tag != 'O' || record.Fields.size() != 3 || !ParseNumber(record.Fields[0], index) ||
        index >= rows.size() || record.Fields[1].size() != 1 ||
        !ParseNumber(record.Fields[2], error))
        return false;
    const char letter = record.Fields[1][0];
    if (letter != 'R' && letter != 'S' && letter != 'F') return false;
    rows[index].Outcome = static_cast<TOutcome>(letter);
    rows[index].Error = error;
    return true;
}

// Rows, then outcomes, up to the first record that is not what it should be.
void ReadBody(std::string_view bytes, std::size_t at, int version, TJournal& journal) {
    TRecord record;
    while (at < bytes.size() && ReadRecord(bytes, at, record, version > 1)) {
        TJournalRow row;
        if (journal.Rows.size() < journal.Head.RowCount && ReadRow(record, version, row))
            journal.Rows.push_back(std::move(row));
        else if (!ApplyOutcome(record, journal.Rows))
            return;
    }
}

} // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    crc = ~crc;
    for (; left >= 16; at += 16, left -= 16)
        crc = SliceFour(crc ^ LittleEndian32(at), 12) ^ SliceFour(LittleEndian32(at + 4), 8) ^
              SliceFour(LittleEndian32(at + 8), 4) ^ SliceFour(LittleEndian32(at + 12), 0);
    for (; left >= 4; at += 4, left -= 4) // a record's last few bytes
        crc = SliceFour(crc ^ LittleEndian32(at), 0);
    for (; left > 0; ++at, --left)
        crc = CrcTables[0][(crc ^ *at) & 0xff] ^ (crc >> 8);
    return ~crc;
}

std::string EncodeBegin(const TJournalHead& head, std::uint64_t rowCount) {
    std::string out;
    TRecordWriter record(
        out, 'B', head.Folder.size() + 2 * head.FolderHandle.size() + head.Undoes.size() + 16);
    record.Field(JournalVersion);
    record.Field(head.Kind == TJournalKind::Undo ? "undo" : "batch");
    record.Field(head.Folder);
    record.Number(head.Volume);
    record.Hex(head.FolderHandle);
    record.Field(head.Undoes);
    record.Number(rowCount);
    record.End();
    return out;
}

void EncodeRow(std::string& out, std::string_view from, std::string_view to,
               const TFileIdentity& identity) {
    TRecordWriter record(out, 'R', from.size() + to.size() + 2 * identity.Handle.size());
    record.Field(from);
    record.Field(to);
    record.Hex(identity.Handle);
    if (!identity.HasShape)
        record.Field({});
    else if (identity.IsFolder)
        record.Field(FolderShape);
    else
        record.Shape(identity.Size, identity.Modified);
    record.End();
}

std::string EncodeJournalStart(const TJournalHead& head, const std::vector<TJournalRow>& rows) {
    std::string out = EncodeBegin(head, rows.size());
    std::size_t size = out.size();
    for (const TJournalRow& row : rows)
        size += RowRecordBytes + row.From.size() + row.To.size();
    out.reserve(size);
    for (const TJournalRow& row : rows)
        EncodeRow(out, row.From, row.To, row.Identity);
    return out;
}

void EncodeOutcome(std::string& out, std::size_t index, TOutcome outcome, int error) {
    const char letter = static_cast<char>(outcome);
    TRecordWriter record(out, 'O', 1);
    record.Number(index);
    record.Field(std::string_view(&letter, 1));
    record.Number(error);
    record.End();
}

std::string EncodeEnding(TEnding how, std::uint64_t renamed) {
    const std::string_view word = WordOf(how);
    std::string out;
    TRecordWriter record(out, 'E', word.size());
    record.Field(word);
    record.Number(renamed);
    record.End();
    return out;
}

std::optional<TJournalHead> DecodeJournalHead(std::string_view firstBytes) {
    std::size_t at = 0;
    int version = 0;
    return ReadHead(firstBytes, at, version);
}

TJournal DecodeJournal(std::string_view bytes) {
    std::size_t at = 0;
    int version = 0;
    std::optional<TJournalHead> head = ReadHead(bytes, at, version);
    if (!head) throw TError(std::string(messages::JournalUnreadable));
    TJournal journal{std::move(*head), {}, {}};
    journal.Rows.reserve(std::min<std::uint64_t>(journal.Head.RowCount, bytes.size() / 8));
    ReadBody(bytes, at, version, journal);
    journal.Ending = DecodeEnding(bytes);
    return journal;
}

TJournalEnding DecodeEnding(std::string_view lastBytes) {
    const std::size_t start = lastBytes.rfind('\0');
    if (start == std::string_view::npos) return {};
    for (const bool checked : {true, false}) {
        std::size_t at = start;
        TRecord record;
        if (!ReadRecord(lastBytes, at, record, checked) || at != lastBytes.size() ||
            record.Tag != 'E' || record.Fields.size() != (checked ? 2u : 1u))
            continue;
        TJournalEnding ending{EndingOf(record.Fields[0]), std::nullopt};
        std::uint64_t renamed = 0;
        if (checked && !ParseNumber(record.Fields[1], renamed)) return {};
        if (checked) ending.Renamed = renamed;
        return ending;
    }
    return {};
}

} // namespace engine
