#include "bench/bench.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <new>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {
namespace {

std::map<std::string, std::function<void()>>& Registry() {
    static std::map<std::string, std::function<void()>> registry;
    return registry;
}

std::size_t g_live = 0;
std::size_t g_peak = 0;

} // namespace

TRegistrar::TRegistrar(const char* name, std::function<void()> run) {
    Registry().emplace(name, std::move(run));
}

double BestSeconds(int repeats, const std::function<void()>& prepare,
                   const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        if (prepare) prepare();
        const auto start = TClock::now();
        work();
        const std::chrono::duration<double> took = TClock::now() - start;
        if (took.count() < best) best = took.count();
    }
    return best;
}

void PrintRatio(const std::string& name, double measured, double baseline) {
    std::printf("ratio %s %.3f   (%.4f s against a baseline of %.4f s)\n", name.c_str(),
                measured / baseline, measured, baseline);
    std::fflush(stdout);
}

std::string MakeBenchFolder(int entries) {
    char pattern[] = "/tmp/zelvora-bench-XXXXXX";
    const std::string root = ::mkdtemp(pattern);
    for (int i = 0; i < entries; ++i) {
        char name[64];
        if (i % 20 == 0) {
            std::snprintf(name, sizeof name, "%s/folder_%06d", root.c_str(), i);
            ::mkdir(name, 0755);
        } else {
            std::snprintf(name, sizeof name, "%s/photo_%06d.jpg", root.c_str(), i);
            ::close(::open(name, O_CREAT | O_WRONLY, 0644));
        }
    }
    return root;
}

void RemoveTree(const std::string& path) { std::filesystem::remove_all(path); }

std::size_t LiveBytes() { return g_live; }
std::size_t PeakBytes() { return g_peak; }
void ResetPeak() { g_peak = g_live; }

} // namespace bench

// Counting allocator: every block carries its size in front of it.
namespace {
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* CountedAlloc(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    bench::g_live += size;
    if (bench::g_live > bench::g_peak) bench::g_peak = bench::g_live;
    return block + kHeader;
}

void CountedFree(void* p) {
    if (!p) return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    bench::g_live -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
} // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, std::size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { CountedFree(p); }

int main() {
    for (auto& [name, run] : bench::Registry()) {
        std::printf("# %s\n", name.c_str());
        run();
    }
    return 0;
}
