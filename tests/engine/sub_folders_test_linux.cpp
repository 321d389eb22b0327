#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"

namespace fs = std::filesystem;

namespace {

class SubFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zelvora-sub-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::string path(const std::string& name) const { return m_root + "/" + name; }
    void makeFile(const std::string& name) const { std::ofstream(path(name)) << "x"; }
    // btrfs and overlay give every folder one link, which hides the sub-folder count.
    bool linkCountsSubFolders() const {
        struct stat status {};
        return ::stat(m_root.c_str(), &status) == 0 && status.st_nlink != 1;
    }
    std::vector<engine::TSubFolder> sortedList() const {
        auto folders = engine::ListSubFolders(m_root);
        std::sort(folders.begin(), folders.end(),
                  [](const auto& a, const auto& b) { return a.Name < b.Name; });
        return folders;
    }

    std::string m_root;
};

TEST_F(SubFoldersTest, ListsFoldersAndLinksToFoldersOnly) {
    fs::create_directory(path("plain"));
    fs::create_directory(path(".hidden"));
    fs::create_directory_symlink(path("plain"), path("link"));
    fs::create_directory_symlink(path("gone"), path("dangling"));
    fs::create_symlink(path("file"), path("file-link"));
    makeFile("file");
    const std::string rawName = "bad\xff\xfe";
    fs::create_directory(path(rawName));

    const auto folders = sortedList();
    std::vector<std::string> names;
    for (const auto& folder : folders)
        names.push_back(folder.Name);
    EXPECT_EQ(names, (std::vector<std::string>{rawName, "link", "plain"}));
}

TEST_F(SubFoldersTest, TellsSubFoldersByTheLinkCount) {
    if (!linkCountsSubFolders()) GTEST_SKIP() << "this file system reports no link counts";
    fs::create_directories(path("full/inner"));
    fs::create_directories(path("secret/.inner"));
    fs::create_directory(path("empty"));
    makeFile("empty/file");

    const auto folders = sortedList();
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_FALSE(folders[0].HasSubFolders) << folders[0].Name; // empty
    EXPECT_TRUE(folders[1].HasSubFolders) << folders[1].Name;  // full
    EXPECT_TRUE(folders[2].HasSubFolders) << folders[2].Name;  // secret: hidden ones count
}

TEST_F(SubFoldersTest, UnreadableOrMissingFolderHasNone) {
    EXPECT_TRUE(engine::ListSubFolders(path("missing")).empty());
    makeFile("file");
    EXPECT_TRUE(engine::ListSubFolders(path("file")).empty());
}

TEST_F(SubFoldersTest, ProbesFoldersThroughLinks) {
    fs::create_directories(path("folder/inner"));
    fs::create_directory_symlink(path("folder"), path("link"));
    makeFile("file");

    EXPECT_TRUE(engine::ProbeFolder(path("folder")).IsFolder);
    EXPECT_TRUE(engine::ProbeFolder(path("link")).IsFolder);
    EXPECT_TRUE(engine::ProbeFolder(path("link")).HasSubFolders);
    EXPECT_FALSE(engine::ProbeFolder(path("file")).IsFolder);
    EXPECT_FALSE(engine::ProbeFolder(path("missing")).IsFolder);
}

TEST_F(SubFoldersTest, ProbeTellsWhyAPathIsNoFolder) {
    fs::create_directories(path("folder"));
    makeFile("file");
    struct Row {
        const char* name;
        std::string path;
        int error;
    };
    const Row rows[] = {{"a folder", path("folder"), 0},
                        {"a file", path("file"), ENOTDIR},
                        {"missing", path("missing"), ENOENT},
                        {"below a file", path("file/inner"), ENOTDIR}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(engine::ProbeFolder(row.path).Error, row.error);
    }
}

TEST(CurrentFolderPath, IsTheWorkingFolder) {
    EXPECT_EQ(engine::CurrentFolderPath(), fs::current_path().string());
}

} // namespace
