#include <cstdlib>
#include <ctime>
#include <string>

#include <sys/time.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "tests/engine/temp_folder.h"
#include "tests/engine/throw_message.h"

namespace {

using namespace testing_tree;
using Tree = std::map<std::string, std::string>;

class FolderOperationsTest : public TTempFolderTest {};

TEST_F(FolderOperationsTest, NewFolderTakesTheFirstFreeName) {
    WriteFile(root + "/新建文件夹 (3)", "a file holds this name");
    struct Row {
        const char* name;
        const char* want;
    };
    const Row rows[] = {
        {"free name", "新建文件夹"},
        {"taken once", "新建文件夹 (2)"},
        {"a file holds the next name", "新建文件夹 (4)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::MakeNewFolder(root), r.want);
        EXPECT_EQ(Describe(root + "/" + r.want), Tree{});
    }
    EXPECT_EQ(ReadFile(root + "/新建文件夹 (3)"), "a file holds this name");
}

TEST_F(FolderOperationsTest, NewFolderInAnUnusableFolderIsAnError) {
    WriteFile(root + "/file", "x");
    struct Row {
        const char* name;
        std::string parent;
        std::string want;
    };
    const Row rows[] = {
        {"missing", root + "/gone", "无法在“" + root + "/gone”中新建文件夹：找不到文件或文件夹"},
        {"a file", root + "/file", "无法在“" + root + "/file”中新建文件夹：Not a directory"},
        {"holding NUL", root + std::string("\0x", 2),
         "无法在“" + root + "\\0x”中新建文件夹：文件名无效"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_THROW_MSG(engine::MakeNewFolder(r.parent), engine::TError, r.want);
    }
    EXPECT_EQ(Describe(root), (Tree{{"/file", "f 0644 x"}}));
}

TEST_F(FolderOperationsTest, DeleteTreeRemovesLinksNotTheirTargets) {
    MakeFolder(root + "/outside");
    WriteFile(root + "/outside/precious", "keep");
    MakeFolder(root + "/doomed");
    MakeFolder(root + "/doomed/sub");
    WriteFile(root + "/doomed/sub/\xff\xfe", "raw");
    ASSERT_EQ(::symlink((root + "/outside").c_str(), (root + "/doomed/to-outside").c_str()), 0);
    EXPECT_EQ(engine::DeleteTree(root + "/doomed/"), 0);
    EXPECT_EQ(Describe(root), (Tree{{"/outside", "d 0755"}, {"/outside/precious", "f 0644 keep"}}));
    EXPECT_EQ(engine::DeleteTree(root + "/doomed"), ENOENT);
}

TEST_F(FolderOperationsTest, PropertiesCountContentsWithoutFollowingLinks) {
    const char* savedZone = std::getenv("TZ");
    const std::string saved = savedZone ? savedZone : "";
    ::setenv("TZ", "Asia/Shanghai", 1);
    ::tzset();
    MakeFolder(root + "/f", 0750);
    WriteFile(root + "/f/five", "12345");
    MakeFolder(root + "/f/sub");
    WriteFile(root + "/f/sub/three", "abc");
    ASSERT_EQ(::symlink("/usr/bin", (root + "/f/sub/link").c_str()), 0);
    const timeval times[2] = {{1614834367, 0}, {1614834367, 0}}; // 2021-03-04 05:06:07 UTC
    ASSERT_EQ(::utimes((root + "/f").c_str(), times), 0);
    const engine::TFolderProperties properties = engine::ReadFolderProperties(root + "/f");
    savedZone ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(properties.ContentBytes, 8u);
    EXPECT_EQ(properties.FileCount, 3u);
    EXPECT_EQ(properties.FolderCount, 1u);
    EXPECT_EQ(properties.Mode, 040750u);
    const engine::TDateTime& m = properties.Modified;
    EXPECT_EQ((std::vector<int>{m.Year, m.Month, m.Day, m.Hour, m.Minute, m.Second, m.DayOfWeek}),
              (std::vector<int>{2021, 3, 4, 13, 6, 7, 4}));
}

TEST_F(FolderOperationsTest, PropertiesOfAMissingFolderAreAnError) {
    EXPECT_THROW_MSG(engine::ReadFolderProperties(root + "/gone"), engine::TError,
                     "无法读取“" + root + "/gone”的属性：找不到文件或文件夹");
}

} // namespace
