#include <algorithm>
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

constexpr int BenchEntries = 100000;
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

// Processor time of `work` on this thread: waiting for a shared processor doesn't count.
template <typename TWork> double CpuSeconds(TWork work) {
    timespec start{}, end{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    work();
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
}

void BenchListFolder() {
    const std::string folder = bench::MakeBenchFolder(BenchEntries);
    const engine::TFormatSettings settings = ReadRegionalSettings();
    std::size_t seen = 0;
    const auto plainRun = [&] { seen += PlainListing(folder).size(); };
    const auto listRun = [&] {
        engine::TFolderListing listing;
        engine::ListFolder(listing, folder, settings);
        seen += listing.Rows.size();
    };
    // Alternating the two keeps a busy machine from favouring either.
    double plain = 1e30, listed = 1e30, plainCpu = 1e30, listedCpu = 1e30;
    for (int round = 0; round < Rounds; ++round) {
        plainCpu = std::min(plainCpu, CpuSeconds(plainRun));
        plain = std::min(plain, bench::BestSeconds(1, nullptr, plainRun));
        listedCpu = std::min(listedCpu, CpuSeconds(listRun));
        listed = std::min(listed, bench::BestSeconds(1, nullptr, listRun));
    }
    bench::PrintRatio("list", listed, plain);
    bench::PrintRatio("list-cpu", listedCpu, plainCpu);

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
