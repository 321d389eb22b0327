#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "bench/bench.h"
#include "engine/engine.h"

namespace {

constexpr int BenchEntries = 100000;

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

void BenchListFolder() {
    const std::string folder = bench::MakeBenchFolder(BenchEntries);
    const engine::TFormatSettings settings = engine::ReadRegionalSettings();
    std::size_t seen = 0;
    const double plain = bench::BestSeconds(5, nullptr, [&] { seen += PlainListing(folder).size(); });
    const double listed = bench::BestSeconds(5, nullptr, [&] {
        engine::TFolderListing listing;
        engine::ListFolder(listing, folder, settings);
        seen += listing.Rows.size();
    });
    bench::PrintRatio("list", listed, plain);

    engine::TFolderListing listing;
    const std::size_t before = bench::LiveBytes();
    bench::ResetPeak();
    engine::ListFolder(listing, folder, settings);
    std::printf("bytes-per-row %zu   (peak %zu bytes for %zu rows; %zu rows seen while timing)\n",
                (bench::PeakBytes() - before) / BenchEntries, bench::PeakBytes() - before,
                listing.Rows.size(), seen);
    bench::RemoveTree(folder);
}

const bench::TRegistrar registrar("list", BenchListFolder);

} // namespace
