#include "bench/bench.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>

#include <malloc.h>
#include <unistd.h>

namespace bench {
namespace {

std::map<std::string, std::function<void()>>& Registry() {
    static std::map<std::string, std::function<void()>> registry;
    return registry;
}

bool g_large = false;

} // namespace

std::atomic<std::size_t> g_live = 0;
std::atomic<std::size_t> g_peak = 0;

TRegistrar::TRegistrar(const char* name, std::function<void()> run) {
    Registry().emplace(name, std::move(run));
}

bool Large() {
    return g_large;
}

double Seconds(const std::function<void()>& work) {
    const auto start = TClock::now();
    work();
    const std::chrono::duration<double> took = TClock::now() - start;
    return took.count();
}

TPairTimes AlternatePairs(int rounds, const TSide& measured, const TSide& baseline) {
    TPairTimes times;
    const auto run = [](const TSide& side, std::vector<double>& into) {
        if (side.prepare) side.prepare();
        into.push_back(Seconds(side.work));
    };
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            run(measured, times.measured);
            run(baseline, times.baseline);
        } else {
            run(baseline, times.baseline);
            run(measured, times.measured);
        }
    }
    return times;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintRatio(const std::string& name, const TPairTimes& times) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < times.measured.size(); ++i)
        ratios.push_back(times.measured[i] / times.baseline[i]);
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("ratio %s %.3f   (range %.3f-%.3f over %zu rounds; median %.4f s against a "
                "baseline of %.4f s)\n",
                name.c_str(), Median(ratios), *low, *high, ratios.size(), Median(times.measured),
                Median(times.baseline));
    std::fflush(stdout);
}

void PrintFigure(const std::string& name, const std::vector<double>& values, const char* unit) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::printf("%s %.1f%s   (range %.1f-%.1f over %zu rounds)\n", name.c_str(), Median(values),
                unit, *low, *high, values.size());
    std::fflush(stdout);
}

void RemoveTree(const std::string& path) {
    std::filesystem::remove_all(path);
}

void SyncDisks() {
    ::sync();
}

std::size_t LiveBytes() {
    return g_live;
}
std::size_t PeakBytes() {
    return g_peak;
}
void ResetPeak() {
    g_peak = g_live.load();
}

} // namespace bench

// Counting allocator: every block counts with the size malloc really gave it.
namespace {

void* CountedAlloc(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    const std::size_t live =
        bench::g_live.fetch_add(::malloc_usable_size(block), std::memory_order_relaxed) +
        ::malloc_usable_size(block);
    std::size_t peak = bench::g_peak.load(std::memory_order_relaxed);
    while (live > peak && !bench::g_peak.compare_exchange_weak(peak, live)) {
    }
    return block;
}

void CountedFree(void* block) {
    if (!block) return;
    bench::g_live.fetch_sub(::malloc_usable_size(block), std::memory_order_relaxed);
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    CountedFree(p);
}

// zelvora-bench [--large] [NAME...]: runs the named measurements, or all of them.
int main(int argc, char* argv[]) {
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0)
            bench::g_large = true;
        else
            only.emplace_back(argv[i]);
    }
    for (auto& [name, run] : bench::Registry()) {
        if (!only.empty() && std::find(only.begin(), only.end(), name) == only.end()) continue;
        std::printf("# %s\n", name.c_str());
        std::fflush(stdout);
        run();
    }
    return 0;
}
