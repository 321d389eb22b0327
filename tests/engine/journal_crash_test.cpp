// A batch killed with SIGKILL at a random row, several times over: the journal left behind must
// bring every entry back to its old name with its content, each content exactly once.
#include <csignal>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/engine/temp_folder.h"

namespace {

constexpr int kEntries = 20000;
constexpr int kRuns = 3;

std::string NameOf(int i) {
    char name[32];
    std::snprintf(name, sizeof name, i % 50 == 0 ? "dir %05d" : "file %05d.txt", i);
    return name;
}

// Runs the batch in a child that tells, through `ready`, when it has renamed `signalAt` rows,
// and goes on renaming until it is killed.
pid_t StartBatch(const std::string& data, const std::string& journals, std::size_t signalAt,
                 int ready) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    engine::TFolderListing listing;
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    engine::TBatchControl control;
    control.JournalFolder = journals;
    control.Progress = [=](std::size_t done, std::size_t) {
        if (done == signalAt) (void)!::write(ready, "x", 1);
    };
    engine::ApplyRenames(listing, engine::TRenameSettings{}, control);
    ::_exit(0);
}

// Name -> content of every entry of `data`; a folder's content is the one file inside.
std::map<std::string, std::string> Contents(const std::string& data) {
    std::map<std::string, std::string> contents;
    DIR* dir = ::opendir(data.c_str());
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = data + "/" + name;
        contents[name] = testing_tree::ReadFile(entry->d_type == DT_DIR ? path + "/id" : path);
    }
    ::closedir(dir);
    return contents;
}

} // namespace

// The folder lives in memory where it can (/dev/shm): twenty thousand files on a busy disk take
// far longer to make than the batch takes to run.
class JournalCrash : public ::testing::Test {
protected:
    void SetUp() override {
        char inMemory[] = "/dev/shm/zelvora-crash-XXXXXX";
        char onDisk[] = "/tmp/zelvora-crash-XXXXXX";
        const char* made = ::mkdtemp(inMemory);
        if (made == nullptr) made = ::mkdtemp(onDisk);
        ASSERT_NE(made, nullptr);
        root = made;
    }
    void TearDown() override { testing_tree::RemoveAll(root); }

    std::string root;
};

TEST_F(JournalCrash, RecoveryBringsEveryEntryBackAfterAKill) {
    const std::string data = root + "/data", journals = root + "/state";
    testing_tree::MakeFolder(data);
    std::map<std::string, std::string> original;
    for (int i = 0; i < kEntries; ++i) {
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
            std::uniform_int_distribution<std::size_t>(1, kEntries)(random);
        SCOPED_TRACE("killed after row " + std::to_string(signalAt));
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = StartBatch(data, journals, signalAt, ready[1]);
        ASSERT_GT(child, 0);
        ::close(ready[1]);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(ready[0]);

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
