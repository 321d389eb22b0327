#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/engine/test_paths.h"
#include "tests/engine/throw_message.h"

using engine::TRenameMode;

namespace {

engine::TRenameSettings WithMode(TRenameMode mode) {
    engine::TRenameSettings settings;
    settings.Mode = mode;
    return settings;
}

engine::TRenameSettings DeleteRange(const char* start, const char* count) {
    engine::TRenameSettings settings = WithMode(TRenameMode::rmDelete);
    settings.DeleteStart = start;
    settings.DeleteCount = count;
    return settings;
}

} // namespace

TEST(SequenceText, PadsInFrontToTheDigitCount) {
    struct Row {
        const char* name;
        std::int32_t number, digits;
        const char* want;
    };
    const Row rows[] = {
        {"pads with zeros", 1, 4, "0001"},
        {"zeros go before the sign", -5, 4, "00-5"},
        {"never truncates", 10000, 4, "10000"},
        {"exactly the count", 1234, 4, "1234"},
        {"count 0 adds nothing", 7, 0, "7"},
        {"negative count adds nothing", 7, -3, "7"},
        {"smallest number", INT32_MIN, 12, "0-2147483648"},
        {"largest number", INT32_MAX, 1, "2147483647"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::SequenceText(r.number, r.digits), r.want);
    }
}

TEST(PreviewText, ShowsTheNumberedCoreOfTheStartNumber) {
    engine::TRenameSettings settings;
    EXPECT_EQ(engine::PreviewText(settings), "例：A-0001 ");
    settings.StartNumber = "$10";
    settings.Digits = "-1";
    settings.LeadText = "";
    settings.TrailText = "_x";
    settings.Mode = TRenameMode::rmDelete;
    settings.DeleteStart = "bad";
    EXPECT_EQ(engine::PreviewText(settings), "例：16_x");
}

TEST(PreviewText, ParsesStartBeforeDigits) {
    struct Row {
        const char* name;
        const char* start;
        const char* digits;
        std::string want;
    };
    const Row rows[] = {
        {"empty digits", "1", "", "'' is not a valid integer value"},
        {"both invalid names the start", "s", "d", "'s' is not a valid integer value"},
        {"huge digit count", "1", "256", test_paths::DigitCountTooLarge("256")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        engine::TRenameSettings settings;
        settings.StartNumber = r.start;
        settings.Digits = r.digits;
        EXPECT_THROW_MSG(engine::PreviewText(settings), engine::TError, r.want);
    }
}

TEST(ComposeNewName, NumbersInEveryMode) {
    struct Row {
        const char* name;
        TRenameMode mode;
        const char* oldName;
        const char* type;
        std::int32_t digits, number;
        const char* want;
    };
    const auto prefix = TRenameMode::rmPrefix, suffix = TRenameMode::rmSuffix,
               replace = TRenameMode::rmReplace;
    const Row rows[] = {
        {"prefix", prefix, "photo.jpg", ".jpg", 4, 1, "A-0001 photo.jpg"},
        {"suffix", suffix, "photo.jpg", ".jpg", 4, 1, "photoA-0001 .jpg"},
        {"replace", replace, "photo.jpg", ".jpg", 4, 1, "A-0001 .jpg"},
        {"replace without extension", replace, "README", "", 4, 1, "A-0001 "},
        {"suffix without extension", suffix, "README", "", 4, 1, "READMEA-0001 "},
        {"whole name is extension", suffix, ".profile", ".profile", 4, 1, "A-0001 .profile"},
        {"several dots", suffix, "a.tar.gz", ".gz", 4, 1, "a.tarA-0001 .gz"},
        {"folder in suffix mode", suffix, "my.photos", "文件夹", 4, 7, "my.photosA-0007 "},
        {"folder in replace mode", replace, "my.photos", "文件夹", 4, 2, "A-0002 "},
        {"negative number", prefix, "x.c", ".c", 4, -5, "A-00-5 x.c"},
        {"number wider than digits", replace, "x.c", ".c", 4, 10000, "A-10000 .c"},
        {"digit count 0", replace, "x.c", ".c", 0, 3, "A-3 .c"},
        {"Chinese base", suffix, "照片.jpg", ".jpg", 2, 3, "照片A-03 .jpg"},
        {"Chinese extension", suffix, "报告.文档", ".文档", 1, 1, "报告A-1 .文档"},
        {"type counted in units, not bytes", suffix, "ab中", "中", 1, 1, "abA-1 中"},
        {"stray bytes pass through", suffix, "a\xff\xfe.txt", ".txt", 1, 1,
         "a\xff\xfe"
         "A-1 .txt"},
        {"edited name cuts by the stored type", suffix, "abcdef", ".jpg", 1, 1, "abA-1 .jpg"},
        {"stored type longer than the name", prefix, "ab", ".jpeg", 1, 1, "A-1 .jpeg"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::ComposeNewName(r.oldName, r.type, WithMode(r.mode), r.digits, r.number),
                  r.want);
    }
}

TEST(ComposeNewName, KeepsBlanksOfLeadAndTrailText) {
    engine::TRenameSettings settings;
    settings.LeadText = " sub/";
    settings.TrailText = "  ";
    EXPECT_EQ(engine::ComposeNewName("a.b", ".b", settings, 3, 9), " sub/009  a.b");
}

TEST(ComposeNewName, CutsARunInDeleteMode) {
    struct Row {
        const char* name;
        std::string oldName;
        const char *start, *count;
        std::string want;
    };
    const Row rows[] = {
        {"middle run", "abcdefg", "3", "2", "abefg"},
        {"count 0 keeps the name", "abcdefg", "3", "0", "abcdefg"},
        {"start past the end", "abcdefg", "9", "4", "abcdefg"},
        {"negative count repeats", "abcdefg", "3", "-1", "abbcdefg"},
        {"start past the end, negative count", "abcdefg", "9", "-4", "abcdefgefg"},
        {"start 0 cuts only the first", "abcdefg", "0", "2", "bcdefg"},
        {"negative start", "abcdefg", "-5", "7", "bcdefg"},
        {"defaults", "IMG_0001.jpg", "1", "4", "0001.jpg"},
        {"into the extension", "ab.txt", "2", "4", "at"},
        {"whole name", "abc", "1", "3", ""},
        {"run past the end", "abc", "2", "100", "a"},
        {"largest start and count", "abc", "2147483647", "2147483647", "abc"},
        {"smallest start and count", "abc", "-2147483648", "-2147483648", "abc"},
        {"hex texts", "abcdefg", "$3", "0x2", "abefg"},
        {"Chinese is one unit", "一二三四.txt", "2", "2", "一四.txt"},
        {"Chinese head kept whole", "中文名", "3", "1", "中文"},
        {"stray bytes are units",
         "a\xff\xfe"
         "b",
         "2", "1",
         "a\xfe"
         "b"},
        {"cut sequence is one unit", "a\xe4\xb8\xadz", "2", "1", "az"},
        {"broken sequence is bytes", "a\xe4\xb8z", "2", "1", "a\xb8z"},
        {"overlong form is bytes", "a\xc0\xafz", "2", "2", "az"},
        {"a lone surrogate (WTF-8) is one unit", "a\xed\xa0\x80z", "2", "1", "az"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::ComposeNewName(r.oldName, "", DeleteRange(r.start, r.count), 4, 1),
                  r.want);
    }
}

TEST(ComposeNewName, DeleteModeUsesNoNumberAndParsesStartFirst) {
    EXPECT_EQ(engine::ComposeNewName("abc", "文件夹", DeleteRange("1", "1"), 255, -9), "bc");
    EXPECT_THROW_MSG(engine::ComposeNewName("abc", "", DeleteRange("s", "c"), 4, 1), engine::TError,
                     "'s' is not a valid integer value");
    EXPECT_THROW_MSG(engine::ComposeNewName("abc", "", DeleteRange("1", "4 "), 4, 1),
                     engine::TError, "'4 ' is not a valid integer value");
}
