#pragma once
// Character units of a name, the unit of every position and length in name composition: a valid
// UTF-8 sequence is one unit, so is a lone surrogate in three bytes (WTF-8, as a Windows name
// holding one arrives), and each byte outside these is a unit of its own. Pure.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/platform/wtf8.h"

namespace engine {

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
