#include <cerrno>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/engine/rename_fixture.h"
#include "tests/engine/temp_folder.h"

namespace fs = std::filesystem;

// The short reason of a result: system error codes differ between platforms, their texts not.
std::string Reason(int error) {
    return error == 0 ? "" : engine::RenameFailureText(error);
}

class RenameEntryTest : public testing_tree::TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        testing_tree::MakeFolder(root + "/old");
        testing_tree::WriteFile(root + "/taken", "keep me");
    }
};

// A case-only rename too, which Windows takes for a rename onto the entry itself.
TEST_F(RenameEntryTest, RenamesAFolderAndNeverReplaces) {
    EXPECT_EQ(engine::RenameEntry(root, "old", "Old"), 0);
    EXPECT_EQ(rename_test::Entries(root), (std::vector<std::string>{"Old", "taken"}));
    EXPECT_EQ(engine::RenameEntry(root, "Old", "new"), 0);
    EXPECT_TRUE(fs::is_directory(root + "/new"));
    EXPECT_EQ(Reason(engine::RenameEntry(root, "new", "taken")), "目标已存在");
    EXPECT_EQ(testing_tree::ReadFile(root + "/taken"), "keep me");
    EXPECT_TRUE(fs::is_directory(root + "/new"));
}

TEST_F(RenameEntryTest, RefusesNamesThatAreNoPlainName) {
    struct Row {
        const char* name;
        std::string to;
        int want;
    };
    const Row rows[] = {{"empty", "", engine::rrInvalidName},
                        {"dot", ".", engine::rrInvalidName},
                        {"dot dot", "..", engine::rrInvalidName},
                        {"a path", "sub/x", engine::rrInvalidName},
                        {"holding NUL", std::string("c\0d", 3), engine::rrInvalidName},
                        {"the same name", "old", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::RenameEntry(root, "old", r.to), r.want);
        EXPECT_TRUE(fs::is_directory(root + "/old"));
    }
    EXPECT_FALSE(fs::exists(root + "/c"));
    EXPECT_EQ(engine::RenameEntry(root, std::string("old\0x", 5), "x"), engine::rrInvalidName);
    EXPECT_TRUE(fs::is_directory(root + "/old"));
    EXPECT_EQ(Reason(engine::RenameEntry(root, "gone", "x")), "找不到文件或文件夹");
    EXPECT_EQ(Reason(engine::RenameEntry(root + "/missing", "old", "x")), "找不到文件或文件夹");
}

// A failure without a short reason of ours reads as the system words it, but for the closing
// full stop and line break Windows ends its texts with: it stands inside a sentence of ours.
TEST(RenameFailureText, GivesTheSystemsOwnTextWithoutItsClosingStop) {
    const int diskFull = test_paths::OnWindows() ? 112 : ENOSPC; // ERROR_DISK_FULL on Windows
    const std::string text = engine::RenameFailureText(diskFull);
    EXPECT_FALSE(text.empty());
    EXPECT_FALSE(text.ends_with('.') || text.ends_with('\n') || text.ends_with("\u3002")) << text;
}
