#pragma once
// Sorting many names in natural order cheaply: each name's first units are packed into a small
// key whose bytes order like NaturalCompare, so most comparisons never touch the names.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace engine {

// How much of its name a key holds.
enum class TKeyEnd : std::uint8_t {
    More,   // the name goes on past the key (from `resume`)
    Whole,  // every unit of the name is in the key
    Opaque, // a unit the key can't hold (a NUL, a run of over 255 digits): names must decide
};

struct TNaturalKey {
    static constexpr std::size_t Words = 3;
    static constexpr std::size_t Bytes = Words * 8;
    std::uint64_t words[Words] = {}; // 24 key bytes, big-endian
    std::uint32_t index = 0;         // the name's position in the caller's list
    std::uint8_t length = 0;         // key bytes in use
    TKeyEnd end = TKeyEnd::Whole;
    std::uint16_t resume = 0; // with More: the byte offset of the first unit not whole in the key
};

// The key of `name`: ASCII letters folded; a digit run as "0", its significant length, its
// significant digits two to a byte and its count of leading zeros; any other character as
// 0x80 plus its code point in three bytes; it ends after 24 bytes. Pure.
TNaturalKey MakeNaturalKey(std::string_view name, std::uint32_t index);

// -1 or 1 when the keys decide the order of their names, 0 when only the names can.
inline int CompareNaturalKeys(const TNaturalKey& a, const TNaturalKey& b) {
    for (std::size_t word = 0; word < TNaturalKey::Words; ++word) {
        const std::uint64_t differ = a.words[word] ^ b.words[word];
        if (differ == 0) continue;
        const std::size_t byte = word * 8 + __builtin_clzll(differ) / 8;
        if (byte >= std::min(a.length, b.length)) return 0;
        return a.words[word] < b.words[word] ? -1 : 1;
    }
    return 0;
}

namespace natural_sort {

using TKeys = std::vector<TNaturalKey>::iterator;

// Key bytes, then the shorter key first: a key shorter than Bytes holds its whole name, whose
// units then end before the other's.
inline bool KeyBefore(const TNaturalKey& a, const TNaturalKey& b) {
    for (std::size_t word = 0; word < TNaturalKey::Words; ++word)
        if (a.words[word] != b.words[word]) return a.words[word] < b.words[word];
    return a.length < b.length;
}

inline bool SameKey(const TNaturalKey& a, const TNaturalKey& b) {
    return !KeyBefore(a, b) && !KeyBefore(b, a);
}

template <typename TNameOf> void SortByNames(TKeys first, TKeys last, TNameOf& nameOf) {
    std::sort(first, last, [&nameOf](const TNaturalKey& a, const TNaturalKey& b) {
        return NaturalCompare(nameOf(a.index), nameOf(b.index)) < 0;
    });
}

template <typename TNameOf> void SortByKeys(TKeys first, TKeys last, TNameOf& nameOf);

// Keys equal in every byte: the names that end there come first, in the order of the whole
// names (their units tie); the others are keyed again from where their keys stopped.
template <typename TNameOf> void SortTied(TKeys first, TKeys last, TNameOf& nameOf) {
    const TKeys goOn = std::partition(
        first, last, [](const TNaturalKey& key) { return key.end == TKeyEnd::Whole; });
    SortByNames(first, goOn, nameOf);
    for (TKeys key = goOn; key != last; ++key) {
        const std::string_view name = nameOf(key->index);
        TNaturalKey next = MakeNaturalKey(name.substr(key->resume), key->index);
        const std::size_t resume = std::size_t{key->resume} + next.resume;
        if (next.end == TKeyEnd::Opaque || (next.end == TKeyEnd::More && next.resume == 0) ||
            resume > UINT16_MAX)
            return SortByNames(goOn, last, nameOf); // no unit fits a key: the names decide
        next.resume = static_cast<std::uint16_t>(resume);
        *key = next;
    }
    SortByKeys(goOn, last, nameOf);
}

template <typename TNameOf> void SortByKeys(TKeys first, TKeys last, TNameOf& nameOf) {
    std::sort(first, last, KeyBefore);
    for (TKeys run = first; run != last;) {
        const TKeys end = std::find_if_not(
            run + 1, last, [&run](const TNaturalKey& key) { return SameKey(key, *run); });
        if (end - run > 1) SortTied(run, end, nameOf);
        run = end;
    }
}

} // namespace natural_sort

// Sorts `keys` into the natural order of their names; `nameOf(index)` gives a name when the
// keys alone can't decide. Keys tied on every byte are keyed again further into their names,
// so long common prefixes cost no more than a few key passes.
template <typename TNameOf> void SortNaturally(std::vector<TNaturalKey>& keys, TNameOf nameOf) {
    const bool opaque = std::any_of(keys.begin(), keys.end(), [](const TNaturalKey& key) {
        return key.end == TKeyEnd::Opaque;
    });
    if (!opaque) return natural_sort::SortByKeys(keys.begin(), keys.end(), nameOf);
    std::sort(keys.begin(), keys.end(), [&nameOf](const TNaturalKey& a, const TNaturalKey& b) {
        if (const int decided = CompareNaturalKeys(a, b)) return decided < 0;
        return NaturalCompare(nameOf(a.index), nameOf(b.index)) < 0;
    });
}

} // namespace engine
