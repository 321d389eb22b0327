#include "engine/engine.h"
#include "engine/natural_key.h"

#include <cstddef>

#include "engine/name_units.h"

namespace engine {
namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

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
        while (at < s.size() && s[at] == '0') ++at;
        unit.zeros = at - begin;
        const std::size_t significant = at;
        while (at < s.size() && IsDigit(s[at])) ++at;
        unit.digits = s.substr(significant, at - significant);
        return unit;
    }
    const std::size_t length = UnitLength(s, at);
    unit.character = DecodeAt(s, at, length);
    at += length;
    return unit;
}

int Sign(long long v) { return (v > 0) - (v < 0); }

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

unsigned char FoldCase(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// Where comparing unit by unit may start: after the last ASCII non-digit byte of the common
// prefix, which is a whole unit in both names, so every unit before it is the same in both.
std::size_t RestartPoint(std::string_view a, std::string_view b) {
    const std::size_t shorter = a.size() < b.size() ? a.size() : b.size();
    std::size_t at = 0;
    while (at < shorter && a[at] == b[at]) ++at;
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
    void Put(std::size_t value) {
        if (!Full()) m_bytes[m_used++] = static_cast<unsigned char>(value);
    }
    TNaturalKey Key(std::uint32_t index) const {
        TNaturalKey key;
        for (std::size_t i = 0; i < 8; ++i) key.high = key.high << 8 | m_bytes[i];
        for (std::size_t i = 8; i < 16; ++i) key.low = key.low << 8 | m_bytes[i];
        key.index = index;
        key.length = static_cast<std::uint8_t>(m_used);
        return key;
    }

private:
    unsigned char m_bytes[16] = {};
    std::size_t m_used = 0;
};

} // namespace

TNaturalKey MakeNaturalKey(std::string_view name, std::uint32_t index) {
    TKeyWriter key;
    std::size_t at = 0;
    while (at < name.size() && !key.Full()) {
        const auto c = static_cast<unsigned char>(name[at]);
        if (c == 0 || c >= 0x80) break; // its code point may need more than a byte
        if (!IsDigit(c)) {
            key.Put(FoldCase(c));
            ++at;
            continue;
        }
        const TUnit run = NextUnit(name, at);
        if (run.digits.size() > 255 || run.zeros > 255) break;
        key.Put('0');
        key.Put(run.digits.size());
        for (const char digit : run.digits) key.Put(static_cast<unsigned char>(digit));
        key.Put(run.zeros);
    }
    return key.Key(index);
}

} // namespace engine
