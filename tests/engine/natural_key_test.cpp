#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/natural_key.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

const std::vector<std::string> TrickyNames{
    "a", "A", "a0", "a00", "a000b", "a1", "a01", "a9", "a10", "a-", "a.", "aa", "a b", "ab",
    "photo_000123.jpg", "photo_000124.jpg", "photo_123.jpg", "photo_0123.jpg", "photo_",
    "IMG_20230101_123456_0002.jpg", "IMG_20230101_123456_0010.jpg", "img_20230101_12345",
    "中文", "a中", "a\xff", "a\x80", "x99999999999999999999", "x100000000000000000000", "",
    "0", "00", "000000000000000001", "1", "Z", "z", "[", "_", "`",
};

} // namespace

TEST(NaturalKey, NeverContradictsNaturalCompare) {
    for (std::size_t i = 0; i < TrickyNames.size(); ++i) {
        for (std::size_t j = 0; j < TrickyNames.size(); ++j) {
            const std::string& a = TrickyNames[i];
            const std::string& b = TrickyNames[j];
            const int decided = engine::CompareNaturalKeys(engine::MakeNaturalKey(a, 0),
                                                           engine::MakeNaturalKey(b, 1));
            if (decided == 0) continue;
            EXPECT_EQ(decided, Sign(engine::NaturalCompare(a, b))) << a << " | " << b;
        }
    }
}

TEST(NaturalKey, DecidesNumbersAfterACommonPrefix) {
    const struct {
        const char* name;
        const char* first;
        const char* second;
    } rows[] = {
        {"by value", "photo_000123.jpg", "photo_000124.jpg"},
        {"shorter number first", "photo_99.jpg", "photo_100.jpg"},
        {"fewer zeros first", "x7", "x007"},
        {"letters without case", "a.txt", "B.txt"},
        {"digit run as the character 0", "a9", "aa"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::CompareNaturalKeys(engine::MakeNaturalKey(r.first, 0),
                                             engine::MakeNaturalKey(r.second, 1)),
                  -1);
    }
}

TEST(NaturalKey, LeavesToTheNamesWhatItCannotSee) {
    const struct {
        const char* name;
        const char* first;
        const char* second;
    } rows[] = {
        {"equal names", "abc", "abc"},
        {"case only", "ABC", "abc"},
        {"one name ends", "abc", "abcd"},
        {"beyond 16 key bytes", "a_long_common_prefix_1", "a_long_common_prefix_2"},
        {"non-ASCII", "a中", "a\xff"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::CompareNaturalKeys(engine::MakeNaturalKey(r.first, 0),
                                             engine::MakeNaturalKey(r.second, 1)),
                  0);
    }
}

TEST(SortNaturally, SortsAsAFileManagerShows) {
    const std::vector<std::string> names{"c10.txt", "B.txt",  "c2.txt", "a.txt", "img12",
                                         "img2",    "img02",  "中文",   "Zeta",  "abc",
                                         "ABC",     "IMG_20230101_123456_0010.jpg",
                                         "IMG_20230101_123456_0002.jpg"};
    std::vector<engine::TNaturalKey> keys;
    for (std::uint32_t i = 0; i < names.size(); ++i)
        keys.push_back(engine::MakeNaturalKey(names[i], i));
    engine::SortNaturally(keys, [&names](std::uint32_t i) -> std::string_view { return names[i]; });
    std::vector<std::string> sorted;
    for (const engine::TNaturalKey& key : keys) sorted.push_back(names[key.index]);
    // A digit run sorts as the character "0", so before "_".
    const std::vector<std::string> want{"a.txt", "ABC",   "abc",   "B.txt",
                                        "c2.txt", "c10.txt", "img2", "img02", "img12",
                                        "IMG_20230101_123456_0002.jpg",
                                        "IMG_20230101_123456_0010.jpg", "Zeta", "中文"};
    EXPECT_EQ(sorted, want);
}
