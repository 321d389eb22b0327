// Folders whose path is longer than PATH_MAX: every operation must work there as anywhere.

#include <climits>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "tests/engine/temp_folder.h"

namespace {

using namespace testing_tree;

constexpr int Depth = 25;
const std::string LongName(200, 'd');

// `root`/d.../d... (25 folders of 200-byte names) holding a.txt, b.txt and c.txt; built and
// removed through descriptors, since the system refuses the whole path.
class DeepFolderTest : public TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
        ASSERT_GE(fd, 0);
        deep = root;
        for (int level = 0; level < Depth; ++level) {
            ASSERT_EQ(::mkdirat(fd, LongName.c_str(), 0755), 0);
            const int inner = ::openat(fd, LongName.c_str(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            ASSERT_GE(fd = inner, 0);
            deep += "/" + LongName;
        }
        for (const char* name : {"b.txt", "a.txt", "c.txt"}) {
            const int file = ::openat(fd, name, O_WRONLY | O_CREAT | O_EXCL, 0644);
            ASSERT_GE(file, 0);
            ASSERT_EQ(::write(file, name, 1), 1);
            ::close(file);
        }
        ::close(fd);
        ASSERT_GT(deep.size(), std::size_t{PATH_MAX});
    }
    void TearDown() override {
        EXPECT_EQ(engine::DeleteTree(root + "/" + LongName), 0);
        TTempFolderTest::TearDown();
    }

    std::vector<std::string> ListedNames() const {
        engine::TFolderListing listing;
        engine::ListFolder(listing, deep, {});
        std::vector<std::string> names;
        for (const engine::TFolderEntry& row : listing.Rows) {
            EXPECT_FALSE(row.ModifiedText.empty()) << row.OldName;
            names.push_back(row.OldName);
        }
        return names;
    }

    std::string deep;
};

using Names = std::vector<std::string>;

TEST_F(DeepFolderTest, ListsAndRenames) {
    EXPECT_EQ(ListedNames(), (Names{"a.txt", "b.txt", "c.txt"}));

    engine::TFolderListing listing;
    engine::ListFolder(listing, deep, {});
    listing.Rows.resize(1);
    engine::ApplyRenames(listing, {}, {.JournalFolder = root + "/journals"});
    EXPECT_EQ(listing.Rows[0].Status, engine::TRenameStatus::Renamed);
    EXPECT_EQ(engine::RenameEntry(deep, "b.txt", "b2.txt"), 0);
    EXPECT_EQ(ListedNames(), (Names{"A-0001 a.txt", "b2.txt", "c.txt"}));
}

TEST_F(DeepFolderTest, TreeOperationsWork) {
    const std::string parent = deep.substr(0, deep.rfind('/'));
    const std::vector<engine::TSubFolder> subFolders = engine::ListSubFolders(parent);
    ASSERT_EQ(subFolders.size(), 1u);
    EXPECT_EQ(subFolders[0].Name, LongName);
    EXPECT_TRUE(engine::ProbeFolder(deep).IsFolder);
    EXPECT_FALSE(engine::ProbeFolder(deep + "/a.txt").IsFolder);

    const engine::TFolderProperties properties = engine::ReadFolderProperties(deep);
    EXPECT_EQ(properties.FileCount, 3u);
    EXPECT_EQ(properties.ContentBytes, 3u);

    EXPECT_EQ(engine::MakeNewFolder(deep), "新建文件夹");
    WriteFile(root + "/outside.txt", "o");
    const auto copied = engine::PasteInto(
        deep + "/新建文件夹", {deep + "/a.txt", root + "/outside.txt"}, engine::TPasteMode::pmCopy);
    ASSERT_EQ(copied.size(), 2u);
    EXPECT_EQ(copied[0].Error, 0);
    EXPECT_EQ(copied[1].Error, 0);
    const auto moved =
        engine::PasteInto(root, {deep + "/新建文件夹/a.txt"}, engine::TPasteMode::pmMove);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].Error, 0);
    EXPECT_EQ(ReadFile(root + "/a.txt"), "a");
    EXPECT_EQ(engine::DeleteTree(deep + "/新建文件夹"), 0);
    EXPECT_EQ(ListedNames(), (Names{"a.txt", "b.txt", "c.txt"}));
}

// Opening piece by piece must not turn the empty path into the working folder.
TEST(OpenedPaths, TheEmptyPathNamesNothing) {
    EXPECT_FALSE(engine::ProbeFolder("").IsFolder);
    EXPECT_TRUE(engine::ListSubFolders("").empty());
    EXPECT_THROW(engine::ReadFolderProperties(""), engine::TError);
}

} // namespace
