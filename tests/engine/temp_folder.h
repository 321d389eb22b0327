#pragma once
// A fresh temporary folder per test, and small helpers that build and describe trees in it, on
// every platform. Paths may use "/" on Windows too.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "tests/engine/test_paths.h"

namespace testing_tree {

namespace fs = std::filesystem;
using test_paths::BytesOf;
using test_paths::PathOf;

inline void WriteFile(const std::string& path, const std::string& content, unsigned mode = 0644) {
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out.write(content.data(), static_cast<std::streamsize>(content.size()))) << path;
    out.close();
    fs::permissions(PathOf(path), static_cast<fs::perms>(mode));
}

inline void MakeFolder(const std::string& path, unsigned mode = 0755) {
    ASSERT_TRUE(fs::create_directory(PathOf(path))) << path;
    fs::permissions(PathOf(path), static_cast<fs::perms>(mode));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    if (!in) return "<missing>";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(PathOf(path), error));
}

// The mode bits as four octal digits. Windows keeps only a read-only flag, shown as the modes
// the tests make (0644 files, 0755 folders) or those without their write bits.
inline std::string ModeText(const fs::file_status& status) {
    auto bits = static_cast<unsigned>(status.permissions()) & 07777;
    if (test_paths::OnWindows()) {
        const unsigned writable = status.type() == fs::file_type::directory ? 0755 : 0644;
        bits = (bits & 0200) ? writable : writable & ~0222u;
    }
    char text[8];
    std::snprintf(text, sizeof text, "%04o", bits);
    return text;
}

// Every entry below `root` by relative path: "d 0755", "f 0644 <content>" or "l <target>".
inline void Describe(const std::string& root, const std::string& prefix,
                     std::map<std::string, std::string>& tree) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(PathOf(root + prefix), error)) {
        const std::string relative = prefix + "/" + BytesOf(entry.path().filename());
        const fs::file_status status = entry.symlink_status();
        if (fs::is_symlink(status)) {
            tree[relative] = "l " + BytesOf(fs::read_symlink(entry.path()));
        } else if (fs::is_directory(status)) {
            tree[relative] = "d " + ModeText(status);
            Describe(root, relative, tree);
        } else {
            tree[relative] = "f " + ModeText(status) + " " + ReadFile(root + relative);
        }
    }
}

inline std::map<std::string, std::string> Describe(const std::string& root) {
    std::map<std::string, std::string> tree;
    Describe(root, "", tree);
    return tree;
}

// Removes `path` whole, folders a test made unreadable included.
inline void RemoveAll(const std::string& path) {
    std::error_code error;
    const fs::path top = PathOf(path);
    if (fs::is_directory(fs::symlink_status(top, error))) {
        fs::permissions(top, fs::perms::owner_all, fs::perm_options::add, error);
        for (const auto& entry : fs::directory_iterator(top, error))
            RemoveAll(BytesOf(entry.path()));
    }
    fs::remove(top, error);
}

// Gives each test its own empty folder `root` (no trailing separator), removed afterwards.
class TTempFolderTest : public ::testing::Test {
protected:
    void SetUp() override { root = test_paths::MakeTempFolder("zelvora-test"); }
    void TearDown() override { RemoveAll(root); }

    std::string root;
};

} // namespace testing_tree
