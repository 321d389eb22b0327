// ListFolder against the least a listing must do, at 100,000 entries and, with --large, at
// 1,000,000 on tmpfs; and the heap a listing takes per row.
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include "bench/bench.h"
#include "engine/engine.h"
#include "ui/window/regional_settings.h"

namespace {

constexpr int Rounds = 7;

struct TPlainRow {
    std::string name;
    std::string modified;
    bool isFolder = false;
};

// The least a listing must do: read, stat, convert and format each entry, unsorted.
std::vector<TPlainRow> PlainListing(const std::string& folder) {
    std::vector<TPlainRow> rows;
    DIR* stream = ::opendir(folder.c_str());
    if (!stream) return rows;
    const int folderFd = ::dirfd(stream);
    while (const dirent* item = ::readdir(stream)) {
        const std::string_view name = item->d_name;
        if (name == "." || name == "..") continue;
        struct stat status {};
        ::fstatat(folderFd, item->d_name, &status, AT_SYMLINK_NOFOLLOW);
        std::tm local{};
        ::localtime_r(&status.st_mtim.tv_sec, &local);
        char text[64];
        const std::size_t length = std::strftime(text, sizeof text, "%m/%d/%y %H:%M:%S", &local);
        rows.push_back({std::string(name), std::string(text, length), S_ISDIR(status.st_mode)});
    }
    ::closedir(stream);
    return rows;
}

void BenchListing(const char* suffix, int entries, const std::string& parent) {
    const std::string folder = bench::MakeBenchFolder(entries, parent);
    bench::SyncDisks();
    const engine::TFormatSettings settings = ReadRegionalSettings();
    std::size_t seen = 0;
    const bench::TPairTimes times =
        bench::AlternatePairs(Rounds,
                              {nullptr,
                               [&] {
                                   engine::TFolderListing listing;
                                   engine::ListFolder(listing, folder, settings);
                                   seen += listing.Rows.size();
                               }},
                              {nullptr, [&] { seen += PlainListing(folder).size(); }});
    bench::PrintRatio(std::string("list") + suffix, times);

    engine::TFolderListing listing;
    const std::size_t before = bench::LiveBytes();
    bench::ResetPeak();
    engine::ListFolder(listing, folder, settings);
    const std::size_t peak = bench::PeakBytes() - before;
    std::printf("bytes-per-row%s %zu   (peak %zu bytes allocated for %zu rows; %zu rows seen "
                "while timing)\n",
                suffix, peak / listing.Rows.size(), peak, listing.Rows.size(), seen);
    bench::RemoveTree(folder);
}

void BenchListFolder() {
    BenchListing("", 100000, {});
    if (bench::Large()) BenchListing("-1m", 1000000, "/dev/shm");
}

const bench::TRegistrar registrar("list", BenchListFolder);

} // namespace
