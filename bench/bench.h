#pragma once
// A small harness for zelvora-bench: each bench file registers its measurements, main runs
// them all and every figure is printed as "ratio NAME MEDIAN" with its range over the rounds
// and the two timings beside it.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace bench {

using TClock = std::chrono::steady_clock;

// Registers `run` under `name`; runs in name order.
struct TRegistrar {
    TRegistrar(const char* name, std::function<void()> run);
};

// True when the program was started with --large: the 1,000,000-entry figures run too.
bool Large();

// One side of a timed pair: `prepare` runs untimed before each `work`.
struct TSide {
    std::function<void()> prepare;
    std::function<void()> work;
};

// Seconds of each round of both sides of a pair.
struct TPairTimes {
    std::vector<double> measured, baseline;
};

// Times `rounds` rounds of the pair; within a round the two sides take turns, and which goes
// first alternates from round to round, so a busy machine slows both alike.
TPairTimes AlternatePairs(int rounds, const TSide& measured, const TSide& baseline);

// Seconds taken by one run of `work`.
double Seconds(const std::function<void()>& work);

// The median of `values` (not empty).
double Median(std::vector<double> values);

// Prints "ratio NAME MEDIAN (range LOW-HIGH over N rounds; ...)": the ratio of each round,
// then their median and range, with the median timings of both sides.
void PrintRatio(const std::string& name, const TPairTimes& times);

// Prints "NAME MEDIAN (range LOW-HIGH over N rounds)" for a figure that is not a ratio.
void PrintFigure(const std::string& name, const std::vector<double>& values, const char* unit = "");

// A fresh temporary folder under `parent` (empty: $TMPDIR, else /tmp) holding `entries` entries
// named as a user's folder is (Chinese and ASCII names, numbers, several extensions, every
// twentieth a folder), each with a modification time of its own; removed by RemoveTree.
std::string MakeBenchFolder(int entries, const std::string& parent = {});
void RemoveTree(const std::string& path);
// Writes every file system's dirty data back, so no timed step pays for an earlier one.
void SyncDisks();

// Heap bytes live now, and the peak since the last ResetPeak, counted as the allocator really
// allocates (malloc_usable_size of every block that operator new hands out).
std::size_t LiveBytes();
std::size_t PeakBytes();
void ResetPeak();

// The names ApplyRenames gives the rows with the default digit count, composed outside the
// timed region.
std::vector<std::string> NewNames(const engine::TFolderListing& listing,
                                  const engine::TRenameSettings& settings);

} // namespace bench
