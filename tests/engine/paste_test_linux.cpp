#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/time.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "tests/engine/temp_folder.h"
#include "tests/engine/throw_message.h"

namespace {

using namespace testing_tree;
using Tree = std::map<std::string, std::string>;
const std::string RawName = "\xff\xfe raw";

class PasteTest : public TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        source = root + "/src";
        target = root + "/dst";
        MakeFolder(source);
        MakeFolder(target);
    }
    // src/tree: files with content and modes, nested folders, a link, a name that is not UTF-8.
    void MakeTree() {
        MakeFolder(source + "/tree", 0750);
        WriteFile(source + "/tree/a.txt", "hello", 0640);
        MakeFolder(source + "/tree/sub");
        WriteFile(source + "/tree/sub/b.bin", std::string("\0\1\2", 3), 0755);
        MakeFolder(source + "/tree/sub/deeper", 0700);
        ASSERT_EQ(::symlink("a.txt", (source + "/tree/link").c_str()), 0);
        WriteFile(source + "/tree/" + RawName, "raw", 0600);
        const timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(::utimes((source + "/tree/a.txt").c_str(), times), 0);
    }
    const Tree treeContents = {
        {"/a.txt", "f 0640 hello"},
        {"/sub", "d 0755"},
        {"/sub/b.bin", std::string("f 0755 \0\1\2", 10)},
        {"/sub/deeper", "d 0700"},
        {"/link", "l a.txt"},
        {"/" + RawName, "f 0600 raw"},
    };
    std::string source, target;
};

// Each result as `want` has it: the source as given, the name made in the target, the error.
void ExpectResults(const std::vector<engine::TPasteResult>& results,
                   const std::vector<engine::TPasteResult>& want) {
    ASSERT_EQ(results.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(want[i].Source);
        EXPECT_EQ(results[i].Source, want[i].Source);
        EXPECT_EQ(results[i].TargetName, want[i].TargetName);
        EXPECT_EQ(results[i].Error, want[i].Error) << engine::RenameFailureText(results[i].Error);
    }
}

TEST_F(PasteTest, CopiesAWholeTreeAndKeepsTheSource) {
    MakeTree();
    ExpectResults(engine::PasteInto(target, {source + "/tree"}, engine::TPasteMode::pmCopy),
                  {{source + "/tree", "tree", 0}});
    EXPECT_EQ(Describe(target + "/tree"), treeContents);
    EXPECT_EQ(Describe(source + "/tree"), treeContents);
    struct stat copied {};
    ASSERT_EQ(::stat((target + "/tree/a.txt").c_str(), &copied), 0);
    EXPECT_EQ(copied.st_mtim.tv_sec, 1000000000);
    ASSERT_EQ(::stat((target + "/tree").c_str(), &copied), 0);
    EXPECT_EQ(copied.st_mode & 07777, 0750u);
}

TEST_F(PasteTest, ClashesGetNumberedNamesAndLeaveTheTargetAlone) {
    MakeFolder(source + "/名称");
    WriteFile(source + "/名称/keep", "new");
    WriteFile(source + "/a b%.txt", "file");
    MakeFolder(target + "/名称");
    WriteFile(target + "/名称/keep", "old");
    WriteFile(target + "/a b%.txt", "old file");
    struct Row {
        const char* name;
        std::string from;
        const char* want;
    };
    const Row rows[] = {
        {"folder clash", source + "/名称", "名称 (2)"},
        {"second folder clash", source + "/名称", "名称 (3)"},
        {"file clash keeps the extension", source + "/a b%.txt", "a b% (2).txt"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ExpectResults(engine::PasteInto(target, {r.from}, engine::TPasteMode::pmCopy),
                      {{r.from, r.want, 0}});
    }
    EXPECT_EQ(ReadFile(target + "/名称/keep"), "old");
    EXPECT_EQ(ReadFile(target + "/名称 (3)/keep"), "new");
    EXPECT_EQ(ReadFile(target + "/a b%.txt"), "old file");
    EXPECT_EQ(ReadFile(target + "/a b% (2).txt"), "file");
}

// A move within one file system; an entry moved into the folder it lies in stays as it is.
TEST_F(PasteTest, MovesWithinOneFileSystem) {
    MakeTree();
    MakeFolder(target + "/tree");
    WriteFile(source + "/" + RawName, "moved");
    WriteFile(target + "/here.txt", "stay");
    const std::string here = target + "/here.txt";
    ExpectResults(engine::PasteInto(target, {source + "/tree", source + "/" + RawName, here},
                                    engine::TPasteMode::pmMove),
                  {{source + "/tree", "tree (2)", 0},
                   {source + "/" + RawName, RawName, 0},
                   {here, "here.txt", 0}});
    EXPECT_EQ(Describe(target + "/tree (2)"), treeContents);
    EXPECT_EQ(Describe(target + "/tree"), Tree{});
    EXPECT_EQ(Describe(source), Tree{});
    EXPECT_EQ(ReadFile(target + "/" + RawName), "moved");
    EXPECT_EQ(ReadFile(here), "stay");
}

TEST_F(PasteTest, MovesAcrossFileSystemsByCopying) {
    struct stat here {
    }, there{};
    if (::stat("/dev/shm", &there) != 0 || ::stat(root.c_str(), &here) != 0 ||
        here.st_dev == there.st_dev)
        GTEST_SKIP() << "needs /dev/shm on another file system";
    char pattern[] = "/dev/shm/zelvora-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string elsewhere = pattern;
    MakeTree();
    ExpectResults(engine::PasteInto(elsewhere, {source + "/tree"}, engine::TPasteMode::pmMove),
                  {{source + "/tree", "tree", 0}});
    EXPECT_EQ(Describe(elsewhere + "/tree"), treeContents);
    EXPECT_FALSE(Exists(source + "/tree"));
    RemoveAll(elsewhere);
}

TEST_F(PasteTest, RefusesAFolderIntoItselfAndLosesNothing) {
    MakeTree();
    struct Row {
        const char* name;
        std::string into;
        engine::TPasteMode mode;
    };
    const Row rows[] = {
        {"copy into itself", source + "/tree", engine::TPasteMode::pmCopy},
        {"copy into a descendant", source + "/tree/sub/deeper", engine::TPasteMode::pmCopy},
        {"move into a descendant", source + "/tree/sub", engine::TPasteMode::pmMove},
        {"move into itself by a trailing slash", source + "/tree/", engine::TPasteMode::pmMove},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_THROW_MSG(
            engine::PasteInto(r.into, {source + "/a-file-first", source + "/tree"}, r.mode),
            engine::TError, "不能把“" + source + "/tree”粘贴到它自己或它的子文件夹中");
        EXPECT_EQ(Describe(source + "/tree"), treeContents);
    }
}

TEST_F(PasteTest, ALinkToAnAncestorIsCopiedAsALink) {
    MakeFolder(source + "/tree");
    ASSERT_EQ(::symlink(source.c_str(), (source + "/tree/up").c_str()), 0);
    ExpectResults(
        engine::PasteInto(source + "/tree", {source + "/tree/up/"}, engine::TPasteMode::pmCopy),
        {{source + "/tree/up/", "up (2)", 0}});
    EXPECT_EQ(Describe(source + "/tree"),
              (Tree{{"/up", "l " + source}, {"/up (2)", "l " + source}}));
}

TEST_F(PasteTest, AnUnusableTargetStopsEverything) {
    WriteFile(root + "/file", "x");
    WriteFile(source + "/a.txt", "a");
    struct Row {
        const char* name;
        std::string into;
        std::string want;
    };
    const Row rows[] = {
        {"target missing", root + "/gone", "无法粘贴到“" + root + "/gone”：找不到文件或文件夹"},
        {"target is a file", root + "/file", "无法粘贴到“" + root + "/file”：Not a directory"},
        {"target holding NUL", target + std::string("\0/x", 3),
         "无法粘贴到“" + target + "\\0/x”：文件名无效"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_THROW_MSG(engine::PasteInto(r.into, {source + "/a.txt"}, engine::TPasteMode::pmMove),
                         engine::TError, r.want);
        EXPECT_EQ(ReadFile(source + "/a.txt"), "a");
    }
}

TEST_F(PasteTest, BadSourcesFailAloneAndTheRestIsPasted) {
    WriteFile(source + "/good", "g");
    const std::string withNul = source + std::string("/good\0x", 7);
    const std::vector<std::string> sources = {"relative/path", source + "/missing", "",
                                              source + "/good", withNul};
    ExpectResults(engine::PasteInto(target, sources, engine::TPasteMode::pmCopy),
                  {{"relative/path", "", engine::rrInvalidName},
                   {source + "/missing", "", ENOENT},
                   {"", "", engine::rrInvalidName},
                   {source + "/good", "good", 0},
                   {withNul, "", engine::rrInvalidName}});
    EXPECT_EQ(Describe(target), (Tree{{"/good", "f 0644 g"}}));
}

TEST_F(PasteTest, AReadOnlyTargetFailsEachItem) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    WriteFile(source + "/a.txt", "a");
    ::chmod(target.c_str(), 0555);
    ExpectResults(engine::PasteInto(target, {source + "/a.txt"}, engine::TPasteMode::pmMove),
                  {{source + "/a.txt", "", EACCES}});
    EXPECT_EQ(ReadFile(source + "/a.txt"), "a");
}

} // namespace
