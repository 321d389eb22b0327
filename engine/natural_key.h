#pragma once
// Sorting many names in natural order cheaply: each name's first units are packed into a small
// key whose bytes order like NaturalCompare, so most comparisons never touch the names.

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace engine {

struct TNaturalKey {
    std::uint64_t high = 0, low = 0; // 16 key bytes, big-endian
    std::uint32_t index = 0;         // the name's position in the caller's list
    std::uint8_t length = 0;         // key bytes in use
};

// The key of `name`: ASCII letters folded, a digit run as "0", its significant length, its
// significant digits and its count of leading zeros; it ends at the first other byte. Pure.
TNaturalKey MakeNaturalKey(std::string_view name, std::uint32_t index);

// -1 or 1 when the keys decide the order of their names, 0 when only the names can.
inline int CompareNaturalKeys(const TNaturalKey& a, const TNaturalKey& b) {
    std::uint64_t differ = a.high ^ b.high;
    int byte = 0;
    if (differ == 0) {
        differ = a.low ^ b.low;
        byte = 8;
    }
    if (differ == 0) return 0;
    byte += __builtin_clzll(differ) / 8;
    if (byte >= std::min(a.length, b.length)) return 0;
    const bool before = a.high != b.high ? a.high < b.high : a.low < b.low;
    return before ? -1 : 1;
}

// Sorts `keys` into the natural order of their names; `nameOf(index)` gives a name when the
// keys alone can't decide.
template <typename TNameOf> void SortNaturally(std::vector<TNaturalKey>& keys, TNameOf nameOf) {
    std::sort(keys.begin(), keys.end(), [&nameOf](const TNaturalKey& a, const TNaturalKey& b) {
        if (const int decided = CompareNaturalKeys(a, b)) return decided < 0;
        return NaturalCompare(nameOf(a.index), nameOf(b.index)) < 0;
    });
}

} // namespace engine
