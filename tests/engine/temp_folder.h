#pragma once
// A fresh temporary folder per test, and small helpers that build and describe trees in it.

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace testing_tree {

inline void WriteFile(const std::string& path, const std::string& content, mode_t mode = 0644) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    ::fchmod(fd, mode);
    ::close(fd);
}

inline void MakeFolder(const std::string& path, mode_t mode = 0755) {
    ASSERT_EQ(::mkdir(path.c_str(), mode), 0) << path;
    ::chmod(path.c_str(), mode);
}

inline std::string ReadFile(const std::string& path) {
    std::string content;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return "<missing>";
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        content.append(buffer, got);
    ::close(fd);
    return content;
}

inline bool Exists(const std::string& path) {
    struct stat entry {};
    return ::lstat(path.c_str(), &entry) == 0;
}

// Every entry below `root` by relative path: "d 0755", "f 0644 <content>" or "l <target>".
inline void Describe(const std::string& root, const std::string& prefix,
                     std::map<std::string, std::string>& tree) {
    DIR* dir = ::opendir((root + prefix).c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string relative = prefix + "/" + name, path = root + relative;
        struct stat st {};
        ::lstat(path.c_str(), &st);
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", st.st_mode & 07777);
        if (S_ISLNK(st.st_mode)) {
            char target[4096] = {};
            ::readlink(path.c_str(), target, sizeof target - 1);
            tree[relative] = std::string("l ") + target;
        } else if (S_ISDIR(st.st_mode)) {
            tree[relative] = std::string("d ") + mode;
            Describe(root, relative, tree);
        } else {
            tree[relative] = std::string("f ") + mode + " " + ReadFile(path);
        }
    }
    ::closedir(dir);
}

inline std::map<std::string, std::string> Describe(const std::string& root) {
    std::map<std::string, std::string> tree;
    Describe(root, "", tree);
    return tree;
}

inline void RemoveAll(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
        ::chmod(path.c_str(), 0700);
        if (DIR* dir = ::opendir(path.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") RemoveAll(path + "/" + name);
            }
            ::closedir(dir);
        }
        ::rmdir(path.c_str());
    } else {
        ::unlink(path.c_str());
    }
}

// Gives each test its own empty folder `root` (no trailing "/"), removed afterwards.
class TTempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zelvora-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { RemoveAll(root); }

    std::string root;
};

} // namespace testing_tree
