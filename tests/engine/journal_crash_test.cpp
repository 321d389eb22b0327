// A batch killed at a random row, several times over: the journal left behind must bring every
// entry back to its old name with its content, each content exactly once.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/engine/child_process.h"
#include "tests/engine/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using test_paths::PathOf;

constexpr int kRuns = 3;

// Under Wine every file made costs a round trip to its server: fewer entries there.
int EntryCount() {
    return test_paths::OnWindows() ? 2000 : 20000;
}

std::string NameOf(int i) {
    char name[32];
    std::snprintf(name, sizeof name, i % 50 == 0 ? "dir %05d" : "file %05d.txt", i);
    return name;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Name -> content of every entry of `data`; a folder's content is the one file inside.
std::map<std::string, std::string> Contents(const std::string& data) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(PathOf(data))) {
        const std::string name = test_paths::BytesOf(entry.path().filename());
        const std::string path = data + "/" + name;
        contents[name] = testing_tree::ReadFile(entry.is_directory() ? path + "/id" : path);
    }
    return contents;
}

// Where the folder lives: in memory where it can (/dev/shm), since twenty thousand files on a
// busy disk take far longer to make than the batch takes to run.
fs::path FastTemporaryFolder() {
    std::error_code error;
    if (test_paths::OnWindows() || !fs::is_directory("/dev/shm", error))
        return fs::temp_directory_path();
    return "/dev/shm";
}

} // namespace

// The child's side: renames until it is killed, and says when it has done the row it was told.
TEST(JournalCrashChild, DISABLED_BatchUntilKilled) {
    const std::string data = Environment("ZELVORA_CRASH_DATA");
    if (data.empty()) GTEST_SKIP() << "run by RecoveryBringsEveryEntryBackAfterAKill";
    const std::size_t signalAt = std::stoul(Environment("ZELVORA_CRASH_AT"));
    const std::string ready = Environment("ZELVORA_CRASH_READY");
    engine::TFolderListing listing;
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    engine::TBatchControl control;
    control.JournalFolder = Environment("ZELVORA_CRASH_JOURNALS");
    control.Progress = [&](std::size_t done, std::size_t) {
        if (done == signalAt) testing_tree::WriteFile(ready, "x");
    };
    engine::ApplyRenames(listing, engine::TRenameSettings{}, control);
}

class JournalCrash : public ::testing::Test {
protected:
    void SetUp() override {
        root = test_paths::MakeTempFolder("zelvora-crash", FastTemporaryFolder());
    }
    void TearDown() override { testing_tree::RemoveAll(root); }

    std::string root;
};

TEST_F(JournalCrash, RecoveryBringsEveryEntryBackAfterAKill) {
    const std::string data = root + "/data", journals = root + "/state", ready = root + "/ready";
    testing_tree::MakeFolder(data);
    std::map<std::string, std::string> original;
    for (int i = 0; i < EntryCount(); ++i) {
        const std::string name = NameOf(i), content = std::to_string(i);
        if (i % 50 == 0) {
            testing_tree::MakeFolder(data + "/" + name);
            testing_tree::WriteFile(data + "/" + name + "/id", content);
        } else {
            testing_tree::WriteFile(data + "/" + name, content);
        }
        original[name] = content;
    }
    std::mt19937 random(20261207);
    for (int run = 0; run < kRuns; ++run) {
        const std::size_t signalAt =
            std::uniform_int_distribution<std::size_t>(1, EntryCount())(random);
        SCOPED_TRACE("killed after row " + std::to_string(signalAt));
        fs::remove(PathOf(ready));
        test_child::TChildProcess child("JournalCrashChild.DISABLED_BatchUntilKilled",
                                        {{"ZELVORA_CRASH_DATA", data},
                                         {"ZELVORA_CRASH_JOURNALS", journals},
                                         {"ZELVORA_CRASH_AT", std::to_string(signalAt)},
                                         {"ZELVORA_CRASH_READY", ready}});
        ASSERT_TRUE(child.Started());
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(3);
        while (!testing_tree::Exists(ready) && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(testing_tree::Exists(ready)) << "the child never reached its row";
        child.Kill();

        const auto journalsLeft = engine::ReadJournals(journals);
        ASSERT_FALSE(journalsLeft.empty());
        const engine::TJournalSummary& batch = journalsLeft.back();
        ASSERT_EQ(batch.Kind, engine::TJournalKind::Batch);
        const engine::TUndoResult undone = engine::UndoBatch(journals, batch.Name);
        for (const engine::TUndoRow& row : undone.Rows)
            ASSERT_EQ(row.Error, 0) << row.From;
        ASSERT_EQ(Contents(data), original);
        EXPECT_TRUE(engine::ReadJournals(journals).back().Closed);
    }
}
