#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/natural_key.h"

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

const std::vector<std::string> TrickyNames{
    "a",
    "A",
    "a0",
    "a00",
    "a000b",
    "a1",
    "a01",
    "a9",
    "a10",
    "a-",
    "a.",
    "aa",
    "a b",
    "ab",
    "photo_000123.jpg",
    "photo_000124.jpg",
    "photo_123.jpg",
    "photo_0123.jpg",
    "photo_",
    "IMG_20230101_123456_0002.jpg",
    "IMG_20230101_123456_0010.jpg",
    "img_20230101_12345",
    "中文",
    "a中",
    "a\xff",
    "a\x80",
    "x99999999999999999999",
    "x100000000000000000000",
    "",
    "0",
    "00",
    "000000000000000001",
    "1",
    "Z",
    "z",
    "[",
    "_",
    "`",
    "照片 2.jpg",
    "照片 10.jpg",
    "照片 010.jpg",
    "照片",
    "照片a",
    "照片A",
    "照",
    "片",
    "aé",
    "a\xe9",
    "a\xc3",
    "a\xc3\xa9"
    "b",
    "a\xe9"
    "b",
    "aａ",
    "a😀",
    "a\xf0\x9f",
    "a\x7f",
    "2023年度报告（第2版）.docx",
    "2023年度报告（第10版）.docx",
    "报价单9A.xlsx",
    "报价单10A.xlsx",
    "é",
    "\xed\xa0\x80",
    "\xef\xbf\xbd",
    "\xf4\x8f\xbf\xbf",
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

// -1: the keys alone order the pair; 0: they leave it to the names.
TEST(NaturalKey, DecidesWhatItsBytesCanTell) {
    const struct {
        const char* name;
        const char *first, *second;
        int want;
    } rows[] = {
        {"by value", "photo_000123.jpg", "photo_000124.jpg", -1},
        {"shorter number first", "photo_99.jpg", "photo_100.jpg", -1},
        {"fewer zeros first", "x7", "x007", -1},
        {"letters without case", "a.txt", "B.txt", -1},
        {"digit run as the character 0", "a9", "aa", -1},
        {"numbers after Chinese", "照片 2.jpg", "照片 10.jpg", -1},
        {"Chinese by code point", "报告", "照片", -1},
        {"ASCII before Chinese", "照片 z", "照片中", -1},
        {"a stray byte by its value", "a\xff", "a中", -1},
        {"odd digit counts", "x123", "x124", -1},
        {"long numbers", "IMG_20230101_123456_0002.jpg", "IMG_20230101_123456_0010.jpg", -1},
        {"equal names", "abc", "abc", 0},
        {"case only", "ABC", "abc", 0},
        {"one name ends", "abc", "abcd", 0},
        {"beyond 24 key bytes", "a_long_common_prefix_of_it_1", "a_long_common_prefix_of_it_2", 0},
        {"a stray byte as the same code point", "a\xe9", "aé", 0},
        {"beyond 24 key bytes in Chinese", "2023年度报告会议纪要（第2版）",
         "2023年度报告会议纪要（第10版）", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::CompareNaturalKeys(engine::MakeNaturalKey(r.first, 0),
                                             engine::MakeNaturalKey(r.second, 1)),
                  r.want);
    }
}

TEST(SortNaturally, AgreesWithNaturalCompareOnLongCommonPrefixes) {
    // Names built from a few pieces, so that many share prefixes longer than a key.
    const std::vector<std::string> pieces{"Screenshot 2024-05-",
                                          "2023年度报告（第",
                                          "版）",
                                          "照片",
                                          " ",
                                          "0",
                                          "007",
                                          "12",
                                          "99999999999999999999",
                                          "a",
                                          "A",
                                          ".jpg",
                                          "\xe9",
                                          "é",
                                          "_",
                                          "-"};
    std::vector<std::string> names;
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245 + 12345) >> 16; };
    for (int i = 0; i < 3000; ++i) {
        std::string name;
        for (std::uint32_t count = 1 + next() % 7; count > 0; --count)
            name += pieces[next() % pieces.size()];
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::vector<engine::TNaturalKey> keys;
    for (std::uint32_t i = 0; i < names.size(); ++i)
        keys.push_back(engine::MakeNaturalKey(names[i], i));
    engine::SortNaturally(keys, [&names](std::uint32_t i) -> std::string_view { return names[i]; });
    std::vector<std::string> sorted;
    for (const engine::TNaturalKey& key : keys)
        sorted.push_back(names[key.index]);
    std::vector<std::string> want = names;
    std::sort(want.begin(), want.end(), [](const std::string& a, const std::string& b) {
        return engine::NaturalCompare(a, b) < 0;
    });
    EXPECT_EQ(sorted, want);
}
