#pragma once
// Positions by a 64-bit key (a name's hash) in one flat table of open addressing. The undo looks
// every row's name up among the folder's, and a node per entry (std::unordered_map) cost more
// than the lookups.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

class TPositionIndex {
public:
    static constexpr std::size_t NotFound = static_cast<std::size_t>(-1);

    // Room for `count` keys, the most that may be added: the table stays at most half full,
    // so a lookup seldom looks at more than one slot.
    explicit TPositionIndex(std::size_t count) : m_room(count) {
        std::size_t slots = 16;
        while (slots < 2 * count)
            slots *= 2;
        m_slots.assign(slots, TSlot{});
    }

    // Adds `key` at `position`; a key added before keeps its first position (two names of
    // one hash).
    void Add(std::uint64_t key, std::size_t position) {
        TSlot& slot = m_slots[SlotOf(key)];
        if (slot.Position != NotFound) return;
        assert(m_room > 0);
        --m_room;
        slot = {key, position};
    }

    // The position of `key`, or NotFound.
    std::size_t Find(std::uint64_t key) const { return m_slots[SlotOf(key)].Position; }

private:
    struct TSlot {
        std::uint64_t Key = 0;
        std::size_t Position = NotFound;
    };

    // The slot holding `key`, or the empty one where it goes. Keys often run in sequence:
    // a multiplier spreads them over the table.
    std::size_t SlotOf(std::uint64_t key) const {
        const std::size_t mask = m_slots.size() - 1;
        auto slot = static_cast<std::size_t>((key * 0x9e3779b97f4a7c15u) >> 32) & mask;
        while (m_slots[slot].Position != NotFound && m_slots[slot].Key != key)
            slot = (slot + 1) & mask;
        return slot;
    }

    std::vector<TSlot> m_slots;
    std::size_t m_room;
};

} // namespace engine
