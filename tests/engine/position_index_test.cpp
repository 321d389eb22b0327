#include "engine/position_index.h"

#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

// Random keys share slots of the table: each is still found at its position, one never added
// is not, and a key added twice keeps its first position.
TEST(PositionIndex, FindsEveryKeyAddedAndNoOther) {
    std::mt19937_64 random(20261208);
    std::vector<std::uint64_t> keys(5000);
    for (std::uint64_t& key : keys)
        key = random();
    keys[0] = 0;
    engine::TPositionIndex index(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        index.Add(keys[i], i);
    index.Add(keys[7], 70);
    for (std::size_t i = 0; i < keys.size(); ++i)
        ASSERT_EQ(index.Find(keys[i]), i) << i;
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(index.Find(random()), engine::TPositionIndex::NotFound);
}
