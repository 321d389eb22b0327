// Test folders that look like a user's: mixed scripts, numbers, extensions and a different
// modification time on every entry, so no cache of the listing is flattered.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bench/bench.h"

namespace bench {
namespace {

// Name patterns as folders of photos, music, documents and downloads hold them; each takes
// the entry's number, so every name is unique.
constexpr const char* FilePatterns[] = {
    "IMG_%04d.JPG",          "照片 %d.jpg",        "2023年度报告（第%d版）.docx",
    "track%02d - 歌曲.mp3",  "Document (%d).pdf",  "notes-v%d.txt",
    "数据_%d_backup.tar.gz", "README_%d",          "Screenshot 2024-05-%d 截图.png",
    "会议纪要-%d.md",        "video_%d.final.mp4", "报价单%dA.xlsx",
};
constexpr const char* FolderPatterns[] = {"新建文件夹 (%d)", "Project %d", "相册-%d"};

} // namespace

std::string MakeBenchFolder(int entries, const std::string& parent) {
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern = !parent.empty() ? parent : temporary && *temporary ? temporary : "/tmp";
    pattern += "/zelvora-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
    const std::string root = pattern;
    const int rootFd = ::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    std::mt19937 random(20240501); // fixed seed: every run makes the same folder
    std::uniform_int_distribution<int> filePattern(0, std::size(FilePatterns) - 1);
    std::uniform_int_distribution<int> folderPattern(0, std::size(FolderPatterns) - 1);
    std::uniform_int_distribution<int> jitter(0, 59);
    constexpr long FirstTime = 1500000000; // July 2017
    for (int i = 0; i < entries; ++i) {
        char name[128];
        const bool folder = i % 20 == 0;
        std::snprintf(
            name, sizeof name,
            folder ? FolderPatterns[folderPattern(random)] : FilePatterns[filePattern(random)], i);
        if (folder)
            ::mkdirat(rootFd, name, 0755);
        else
            ::close(::openat(rootFd, name, O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
        // Minutes apart plus some seconds: every entry has a time of its own.
        const timespec times[2] = {{FirstTime + i * 97L + jitter(random), 0},
                                   {FirstTime + i * 97L + jitter(random), 0}};
        ::utimensat(rootFd, name, times, 0);
    }
    ::close(rootFd);
    return root;
}

std::vector<std::string> NewNames(const engine::TFolderListing& listing,
                                  const engine::TRenameSettings& settings) {
    std::vector<std::string> names;
    std::int32_t number = 1;
    for (const engine::TFolderEntry& row : listing.Rows)
        names.push_back(engine::ComposeNewName(row.OldName, row.TypeText, settings, 4, number++));
    return names;
}

} // namespace bench
