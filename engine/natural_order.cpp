#include "engine/engine.h"

#include <cstddef>

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

std::size_t Utf8Length(std::string_view s, std::size_t at) {
    const auto lead = static_cast<unsigned char>(s[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 && lead < 0xF5 ? 4
                               : lead >= 0xE0                 ? 3
                               : lead >= 0xC2                 ? 2
                                                              : 0;
    if (length == 0 || at + length > s.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(s[at + i]) & 0xC0) != 0x80) return 1;
    return length;
}

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
    const std::size_t length = Utf8Length(s, at);
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

} // namespace

int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    // Fast path: a common prefix without digits decides nothing.
    while (i < a.size() && j < b.size() && a[i] == b[j] && !IsDigit(a[i])) ++i, ++j;
    // Step back to the start of a character cut by the prefix.
    while (i > 0 && (static_cast<unsigned char>(a[i]) & 0xC0) == 0x80) --i, --j;
    int unitsLeft = 0;
    while (i < a.size() && j < b.size()) {
        const TUnit left = NextUnit(a, i);
        const TUnit right = NextUnit(b, j);
        if (const int c = CompareUnits(left, right)) return c;
    }
    if (i < a.size()) unitsLeft = 1;
    if (j < b.size()) unitsLeft = -1;
    if (unitsLeft != 0) return unitsLeft;
    return Sign(a.compare(b));
}

} // namespace engine
