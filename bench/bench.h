#pragma once
// A small harness for zelvora-bench: each bench file registers its measurements, main runs
// them all and every figure is printed as "ratio NAME VALUE" beside its baseline.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace bench {

using TClock = std::chrono::steady_clock;

// Registers `run` under `name`; runs in name order.
struct TRegistrar {
    TRegistrar(const char* name, std::function<void()> run);
};

// Seconds taken by `work`, the best of `repeats` runs, `prepare` run untimed before each.
double BestSeconds(int repeats, const std::function<void()>& prepare,
                   const std::function<void()>& work);

// Prints "ratio NAME VALUE" with the two timings beside it.
void PrintRatio(const std::string& name, double measured, double baseline);

// A fresh temporary folder holding `entries` entries, every twentieth a folder, the rest
// files with an extension; removed by RemoveTree.
std::string MakeBenchFolder(int entries);
void RemoveTree(const std::string& path);

// Heap bytes live now, and the peak since the last ResetPeak (operator new is counted).
std::size_t LiveBytes();
std::size_t PeakBytes();
void ResetPeak();

} // namespace bench
