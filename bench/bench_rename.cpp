// Batch rename against a bare renameat2 loop, and name composition against plain string
// concatenation of the same parts.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "bench/bench.h"
#include "engine/engine.h"

namespace {

constexpr int kEntries = 100000;
constexpr int kRounds = 5;
constexpr int kComposeRounds = 9;

struct TFreshFolder {
    std::string path;
    engine::TFolderListing listing;

    void Renew() {
        if (!path.empty()) bench::RemoveTree(path);
        path = bench::MakeBenchFolder(kEntries);
        listing = {}; // listed outside the clock, exactly as the window lists it
        engine::ListFolder(listing, path, engine::TFormatSettings{});
        bench::SyncDisks(); // write back the set-up's metadata before the clock runs
    }
    ~TFreshFolder() {
        if (!path.empty()) bench::RemoveTree(path);
    }
};

int RenameWithBareCalls(const engine::TFolderListing& listing,
                        const std::vector<std::string>& newNames) {
    int failures = 0;
    const int dirFd = ::open(listing.CurrentFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t i = 0; i < newNames.size(); ++i)
        failures += ::renameat2(dirFd, listing.Rows[i].OldName.c_str(), dirFd, newNames[i].c_str(),
                                RENAME_NOREPLACE) != 0;
    ::close(dirFd);
    return failures;
}

// A journal folder of the benchmark's own, so no run touches the user's journals.
struct TJournalFolder {
    engine::TBatchControl control;
    TJournalFolder() { control.JournalFolder = bench::MakeBenchFolder(0); }
    ~TJournalFolder() { bench::RemoveTree(control.JournalFolder); }
    // The newest journal, the batch just run.
    std::string Last() const { return engine::ReadJournals(control.JournalFolder).back().Name; }
};

// The batch runs journaled, as the window runs it; its undo is timed against the same loop.
void BenchRename() {
    const engine::TRenameSettings settings; // prefix mode, defaults
    TFreshFolder fresh;
    TJournalFolder journals;
    std::vector<std::string> newNames;
    int failures = 0;
    const bench::TSide bareLoop{[&] {
                                    fresh.Renew();
                                    newNames = bench::NewNames(fresh.listing, settings);
                                },
                                [&] { failures += RenameWithBareCalls(fresh.listing, newNames); }};
    const bench::TPairTimes rename = bench::AlternatePairs(
        kRounds,
        {[&] { fresh.Renew(); },
         [&] { engine::ApplyRenames(fresh.listing, settings, journals.control); }},
        bareLoop);
    const bench::TPairTimes undo = bench::AlternatePairs(
        kRounds,
        {[&] {
             fresh.Renew();
             engine::ApplyRenames(fresh.listing, settings, journals.control);
             bench::SyncDisks();
         },
         [&] {
             for (const auto& row :
                  engine::UndoBatch(journals.control.JournalFolder, journals.Last()).Rows)
                 failures += row.Error != 0;
         }},
        bareLoop);
    if (failures != 0) std::printf("%d renames failed\n", failures);
    bench::PrintRatio("rename", rename);
    bench::PrintRatio("undo", undo);
}

void BenchCompose() {
    constexpr int kNames = 1000000, kDistinct = 10000;
    const engine::TRenameSettings settings;
    std::vector<std::string> oldNames, bases, sequences;
    for (int i = 0; i < kDistinct; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "photo_%06d", i);
        bases.push_back(name);
        oldNames.push_back(bases.back() + ".jpg");
    }
    for (int i = 0; i < kNames; ++i)
        sequences.push_back(engine::SequenceText(i, 4));
    const std::string extension = ".jpg";
    std::size_t sink = 0;
    const bench::TPairTimes times = bench::AlternatePairs(
        kComposeRounds,
        {nullptr,
         [&] {
             for (int i = 0; i < kNames; ++i)
                 sink += engine::ComposeNewName(oldNames[i % kDistinct], extension, settings, 4, i)
                             .size();
         }},
        {nullptr, [&] {
             for (int i = 0; i < kNames; ++i) {
                 const std::string name = settings.LeadText + sequences[i] + settings.TrailText +
                                          bases[i % kDistinct] + extension;
                 sink += name.size();
             }
         }});
    std::printf("composed %zu bytes\n", sink);
    bench::PrintRatio("compose", times);
}

const bench::TRegistrar renameBench("rename", BenchRename);
const bench::TRegistrar composeBench("compose", BenchCompose);

} // namespace
