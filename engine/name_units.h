#pragma once
// Character units of a name, the unit of every position and length in name composition: a valid
// UTF-8 sequence is one unit, so is a lone surrogate in three bytes (WTF-8, as a Windows name
// holding one arrives), and each byte outside these is a unit of its own. Pure.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace engine {

// Byte length of the unit that starts at text[at] (at < text.size()).
inline std::size_t UnitLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead < 0x80) return 1;
    unsigned low = 0x80, high = 0xBF;
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 1;
    if (lead == 0xE0) low = 0xA0;  // no overlong forms
    if (lead == 0xF0) low = 0x90;  // no overlong forms
    if (lead == 0xF4) high = 0x8F; // nothing above U+10FFFF
    if (byte(1) < low || byte(1) > high) return 1;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 1;
    return length;
}

// Number of units in `text`.
inline std::int64_t CountUnits(std::string_view text) {
    std::int64_t units = 0;
    for (std::size_t at = 0; at < text.size(); at += UnitLength(text, at))
        ++units;
    return units;
}

// The part of `text` from the 1-based unit position `index`, `count` units long. A position
// below 1 counts as 1 without shortening the count; a position past the end, or a negative
// count, gives nothing; a count running past the end stops there.
inline std::string_view UnitSubstring(std::string_view text, std::int64_t index,
                                      std::int64_t count) {
    if (count <= 0) return {};
    std::size_t begin = 0;
    for (std::int64_t skip = index - 1; skip > 0 && begin < text.size(); --skip)
        begin += UnitLength(text, begin);
    std::size_t end = begin;
    for (; count > 0 && end < text.size(); --count)
        end += UnitLength(text, end);
    return text.substr(begin, end - begin);
}

} // namespace engine
