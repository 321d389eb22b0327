#include <filesystem>
#include <fstream>
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

class RenameEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = test_paths::MakeTempFolder("zelvora-rename-entry");
        fs::create_directory(m_folder + "/old");
        std::ofstream(m_folder + "/taken") << "keep me";
    }
    void TearDown() override { testing_tree::RemoveAll(m_folder); }
    std::string m_folder;
};

// A case-only rename too, which Windows takes for a rename onto the entry itself.
TEST_F(RenameEntryTest, RenamesAFolderAndNeverReplaces) {
    EXPECT_EQ(engine::RenameEntry(m_folder, "old", "Old"), 0);
    EXPECT_EQ(rename_test::Entries(m_folder), (std::vector<std::string>{"Old", "taken"}));
    EXPECT_EQ(engine::RenameEntry(m_folder, "Old", "new"), 0);
    EXPECT_TRUE(fs::is_directory(m_folder + "/new"));
    EXPECT_EQ(Reason(engine::RenameEntry(m_folder, "new", "taken")), "目标已存在");
    std::string content;
    std::getline(std::ifstream(m_folder + "/taken"), content);
    EXPECT_EQ(content, "keep me");
    EXPECT_TRUE(fs::is_directory(m_folder + "/new"));
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
        EXPECT_EQ(engine::RenameEntry(m_folder, "old", r.to), r.want);
        EXPECT_TRUE(fs::is_directory(m_folder + "/old"));
    }
    EXPECT_FALSE(fs::exists(m_folder + "/c"));
    EXPECT_EQ(engine::RenameEntry(m_folder, std::string("old\0x", 5), "x"), engine::rrInvalidName);
    EXPECT_TRUE(fs::is_directory(m_folder + "/old"));
    EXPECT_EQ(Reason(engine::RenameEntry(m_folder, "gone", "x")), "找不到文件或文件夹");
    EXPECT_EQ(Reason(engine::RenameEntry(m_folder + "/missing", "old", "x")), "找不到文件或文件夹");
}
