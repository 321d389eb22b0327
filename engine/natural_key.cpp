#include "engine/natural_key.h"
#include "engine/engine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/name_units.h"

namespace engine {
namespace {

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// One unit of a name: a run of ASCII digits, or one character (a UTF-8 code point, or a
// stray byte that begins no valid sequence).
struct TUnit {
    bool isNumber = false;
    std::string_view digits; // without leading zeros
    std::size_t zeros = 0;   // leading zeros of the run
    char32_t character = 0;
};

char32_t DecodeAt(std::string_view s, std::size_t at, std::size_t length) {
    const auto lead = static_cast<unsigned char>(s[at]);
    if (length == 1) return lead >= 'A' && lead <= 'Z' ? lead + ('a' - 'A') : lead;
    char32_t value = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (static_cast<unsigned char>(s[at + i]) & 0x3F);
    return value;
}

TUnit NextUnit(std::string_view s, std::size_t& at) {
    TUnit unit;
    if (IsDigit(s[at])) {
        unit.isNumber = true;
        const std::size_t begin = at;
        while (at < s.size() && s[at] == '0')
            ++at;
        unit.zeros = at - begin;
        const std::size_t significant = at;
        while (at < s.size() && IsDigit(s[at]))
            ++at;
        unit.digits = s.substr(significant, at - significant);
        return unit;
    }
    const std::size_t length = UnitLength(s, at);
    unit.character = DecodeAt(s, at, length);
    at += length;
    return unit;
}

int Sign(long long v) {
    return (v > 0) - (v < 0);
}

int CompareUnits(const TUnit& a, const TUnit& b) {
    if (a.isNumber && b.isNumber) {
        if (a.digits.size() != b.digits.size())
            return Sign(static_cast<long long>(a.digits.size()) - b.digits.size());
        if (const int c = a.digits.compare(b.digits)) return Sign(c);
        return Sign(static_cast<long long>(a.zeros) - static_cast<long long>(b.zeros));
    }
    const char32_t left = a.isNumber ? U'0' : a.character;
    const char32_t right = b.isNumber ? U'0' : b.character;
    return Sign(static_cast<long long>(left) - static_cast<long long>(right));
}

unsigned char FoldCase(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Where comparing unit by unit may start: after the last ASCII non-digit byte of the common
// prefix, which is a whole unit in both names, so every unit before it is the same in both.
std::size_t RestartPoint(std::string_view a, std::string_view b) {
    const std::size_t shorter = a.size() < b.size() ? a.size() : b.size();
    std::size_t at = 0;
    while (at < shorter && a[at] == b[at])
        ++at;
    while (at > 0) {
        const auto previous = static_cast<unsigned char>(a[at - 1]);
        if (previous < 0x80 && !IsDigit(previous)) break;
        --at;
    }
    return at;
}

} // namespace

int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = RestartPoint(a, b);
    std::size_t j = i;
    while (i < a.size() && j < b.size()) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[j]);
        if (x < 0x80 && y < 0x80 && !IsDigit(x) && !IsDigit(y)) {
            if (x != y && FoldCase(x) != FoldCase(y)) return FoldCase(x) < FoldCase(y) ? -1 : 1;
            ++i, ++j;
            continue;
        }
        const TUnit left = NextUnit(a, i);
        const TUnit right = NextUnit(b, j);
        if (const int c = CompareUnits(left, right)) return c;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return Sign(a.compare(b));
}

namespace {

class TKeyWriter {
public:
    bool Full() const { return m_used == sizeof m_bytes; }
    // Bytes past the end are lost; Lost() then tells that the last unit is not whole.
    void Put(std::size_t value) {
        if (Full())
            m_lost = true;
        else
            m_bytes[m_used++] = static_cast<unsigned char>(value);
    }
    bool Lost() const { return m_lost; }
    TNaturalKey Key(std::uint32_t index) const {
        TNaturalKey key;
        for (std::size_t i = 0; i < sizeof m_bytes; ++i)
            key.words[i / 8] = key.words[i / 8] << 8 | m_bytes[i];
        key.index = index;
        key.length = static_cast<std::uint8_t>(m_used);
        return key;
    }

private:
    unsigned char m_bytes[TNaturalKey::Bytes] = {};
    std::size_t m_used = 0;
    bool m_lost = false;
};

// Puts the unit at name[at] into the key and moves past it; false for a unit no key can hold.
bool PutUnit(TKeyWriter& key, std::string_view name, std::size_t& at) {
    const auto c = static_cast<unsigned char>(name[at]);
    if (c == 0) return false;
    if (c >= 0x80) {
        // Three bytes, big-endian, the first above every ASCII byte: code points order as
        // their bytes do, and a stray byte counts as the code point of its value.
        const std::size_t length = UnitLength(name, at);
        const char32_t code = DecodeAt(name, at, length);
        key.Put(0x80 | code >> 16);
        key.Put(code >> 8 & 0xFF);
        key.Put(code & 0xFF);
        at += length;
        return true;
    }
    if (!IsDigit(c)) {
        key.Put(FoldCase(c));
        ++at;
        return true;
    }
    const TUnit run = NextUnit(name, at);
    if (run.digits.size() > 255 || run.zeros > 255) return false;
    key.Put('0');
    key.Put(run.digits.size());
    // Two digits to a byte; runs of one length pad their last byte alike.
    for (std::size_t i = 0; i < run.digits.size(); i += 2) {
        const unsigned high = run.digits[i] - '0';
        const unsigned low = i + 1 < run.digits.size() ? run.digits[i + 1] - '0' : 0;
        key.Put(high << 4 | low);
    }
    key.Put(run.zeros);
    return true;
}

} // namespace

TNaturalKey MakeNaturalKey(std::string_view name, std::uint32_t index) {
    TKeyWriter writer;
    std::size_t at = 0;
    std::size_t whole = 0; // the units before this offset are whole in the key
    bool opaque = false;
    while (at < name.size() && !writer.Full()) {
        if (!PutUnit(writer, name, at)) {
            opaque = true;
            break;
        }
        if (!writer.Lost()) whole = at;
    }
    TNaturalKey key = writer.Key(index);
    if (opaque || whole > UINT16_MAX)
        key.end = TKeyEnd::Opaque;
    else
        key.end = whole == name.size() ? TKeyEnd::Whole : TKeyEnd::More;
    key.resume = static_cast<std::uint16_t>(std::min<std::size_t>(whole, UINT16_MAX));
    return key;
}

} // namespace engine
