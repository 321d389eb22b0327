#include "engine/inode_index.h"

#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

// Random inodes share slots of the table: each is still found at its position, one never added
// is not, and a second link keeps the first position.
TEST(InodeIndex, FindsEveryInodeAddedAndNoOther) {
    std::mt19937_64 random(20261208);
    std::vector<std::uint64_t> inodes(5000);
    for (std::uint64_t& inode : inodes)
        inode = random();
    inodes[0] = 0;
    engine::TInodeIndex index(inodes.size());
    for (std::size_t i = 0; i < inodes.size(); ++i)
        index.Add(inodes[i], i);
    index.Add(inodes[7], 70);
    for (std::size_t i = 0; i < inodes.size(); ++i)
        ASSERT_EQ(index.Find(inodes[i]), i) << i;
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(index.Find(random()), engine::TInodeIndex::NotFound);
}
