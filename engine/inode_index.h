#pragma once
// Positions by inode in one flat table of open addressing. The undo looks every row's entry up
// among the folder's, and a node per entry (std::unordered_map) cost more than the lookups.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

class TInodeIndex {
public:
    static constexpr std::size_t NotFound = static_cast<std::size_t>(-1);

    // Room for `count` inodes, the most that may be added: the table stays at most half full,
    // so a lookup seldom looks at more than one slot.
    explicit TInodeIndex(std::size_t count) : m_room(count) {
        std::size_t slots = 16;
        while (slots < 2 * count)
            slots *= 2;
        m_slots.assign(slots, TSlot{});
    }

    // Adds `inode` at `position`; an inode added before keeps its first position (a second
    // link to one file).
    void Add(std::uint64_t inode, std::size_t position) {
        TSlot& slot = m_slots[SlotOf(inode)];
        if (slot.Position != NotFound) return;
        assert(m_room > 0);
        --m_room;
        slot = {inode, position};
    }

    // The position of `inode`, or NotFound.
    std::size_t Find(std::uint64_t inode) const { return m_slots[SlotOf(inode)].Position; }

private:
    struct TSlot {
        std::uint64_t Inode = 0;
        std::size_t Position = NotFound;
    };

    // The slot holding `inode`, or the empty one where it goes. Inodes often run in sequence:
    // a multiplier spreads them over the table.
    std::size_t SlotOf(std::uint64_t inode) const {
        const std::size_t mask = m_slots.size() - 1;
        auto slot = static_cast<std::size_t>((inode * 0x9e3779b97f4a7c15u) >> 32) & mask;
        while (m_slots[slot].Position != NotFound && m_slots[slot].Inode != inode)
            slot = (slot + 1) & mask;
        return slot;
    }

    std::vector<TSlot> m_slots;
    std::size_t m_room;
};

} // namespace engine
