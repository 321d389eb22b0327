#pragma once
// Disk fixtures of the rename tests: a fresh temporary folder per test and one for its journals,
// removed afterwards, and the rows the tests rename.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/engine/temp_folder.h"
#include "tests/engine/test_paths.h"

namespace rename_test {

namespace fs = std::filesystem;

using test_paths::BytesOf;
using test_paths::MakeTempFolder;
using test_paths::OnWindows;
using test_paths::PathOf;
using test_paths::Sep;
using testing_tree::ReadFile;
using testing_tree::WriteFile;

inline engine::TFolderEntry FileRow(std::string name, std::string typeText) {
    engine::TFolderEntry row;
    row.OldName = std::move(name);
    row.TypeText = std::move(typeText);
    return row;
}

inline engine::TFolderEntry FolderRow(std::string name) {
    engine::TFolderEntry row;
    row.OldName = std::move(name);
    row.TypeText = std::string(engine::FolderTypeText);
    row.IsFolder = true;
    row.ImageIndex = engine::FolderImageIndex;
    return row;
}

// Names directly inside `path`, sorted bytewise.
inline std::vector<std::string> Entries(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(PathOf(path)))
        names.push_back(BytesOf(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

class TTempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = MakeTempFolder("zelvora-rename-test");
        m_journals = MakeTempFolder("zelvora-rename-journals");
        m_listing.CurrentFolder = m_root + Sep;
    }
    void TearDown() override {
        testing_tree::RemoveAll(m_root);
        testing_tree::RemoveAll(m_journals);
    }

    // A batch's control with a journal folder of the test's own, outside the folder renamed.
    engine::TBatchControl Journaled() const {
        engine::TBatchControl control;
        control.JournalFolder = m_journals;
        return control;
    }

    std::string At(const std::string& name) const { return m_listing.CurrentFolder + name; }
    void MakeFile(const std::string& name, const std::string& content = "") {
        WriteFile(At(name), content);
    }
    void MakeFolder(const std::string& name) { fs::create_directory(PathOf(At(name))); }

    std::string m_root, m_journals;
    engine::TFolderListing m_listing;
};

} // namespace rename_test
