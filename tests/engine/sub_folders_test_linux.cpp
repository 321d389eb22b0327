#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "tests/engine/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class SubFoldersTest : public testing_tree::TTempFolderTest {
protected:
    std::string path(const std::string& name) const { return root + "/" + name; }
    void makeFile(const std::string& name) const { testing_tree::WriteFile(path(name), "x"); }
    // btrfs and overlay give every folder one link, which hides the sub-folder count.
    bool linkCountsSubFolders() const {
        struct stat status {};
        return ::stat(root.c_str(), &status) == 0 && status.st_nlink != 1;
    }
    std::vector<engine::TSubFolder> sortedList() const {
        auto folders = engine::ListSubFolders(root);
        std::sort(folders.begin(), folders.end(),
                  [](const auto& a, const auto& b) { return a.Name < b.Name; });
        return folders;
    }
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

    std::vector<std::string> names;
    for (const auto& folder : sortedList())
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

// A probe follows links, and says why a path is no folder.
TEST_F(SubFoldersTest, ProbesFoldersThroughLinks) {
    fs::create_directories(path("folder/inner"));
    fs::create_directory_symlink(path("folder"), path("link"));
    makeFile("file");
    const struct {
        const char* name;
        bool isFolder, hasSubFolders;
        int error;
    } rows[] = {
        {"folder", true, true, 0},
        {"link", true, true, 0},
        {"file", false, false, ENOTDIR},
        {"missing", false, false, ENOENT},
        {"file/inner", false, false, ENOTDIR},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const engine::TFolderProbe probe = engine::ProbeFolder(path(r.name));
        EXPECT_EQ(probe.IsFolder, r.isFolder);
        EXPECT_EQ(probe.HasSubFolders, r.hasSubFolders);
        EXPECT_EQ(probe.Error, r.error);
    }
}

} // namespace
