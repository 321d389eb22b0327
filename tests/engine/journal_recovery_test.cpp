// The undo after what can go wrong around a batch: a kill, a second window, a damaged or
// outsized journal, a full volume. Whatever the journal holds, an entry may only ever be at its
// old name or at the new name its batch gave it, and a batch's unreached rows keep their names.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/journal.h"
#include "tests/engine/child_process.h"
#include "tests/engine/temp_folder.h"
#include "tests/engine/throw_message.h"

namespace {

namespace fs = std::filesystem;
using test_paths::PathOf;
using testing_tree::Exists;
using testing_tree::ReadFile;
using testing_tree::WriteFile;

const std::string kRunning = "这一批正在另一个窗口中改名或撤销，等它结束后才能撤销";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string NameOf(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "f %04d.txt", i);
    return name;
}

// Under Wine every file made costs a round trip to its server: fewer entries there.
int EntryCount() {
    return test_paths::OnWindows() ? 300 : 2000;
}

// The journal as a kill before its first block of outcomes leaves it: the start alone.
void CutToStart(const std::string& path) {
    const std::string bytes = ReadFile(path);
    const std::size_t outcome = bytes.find(std::string("\0O", 2));
    const std::size_t ending = bytes.find(std::string("\0E", 2));
    WriteFile(path, bytes.substr(0, std::min(outcome, ending)), 0600);
}

class JournalRecovery : public testing_tree::TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        data = root + "/data";
        journals = root + "/state";
        ready = root + "/ready";
        testing_tree::MakeFolder(data);
    }

    // Entries numbered in list order; content i is "i", renamed by the default settings to
    // "A-<i+1> f <i>.txt".
    void MakeEntries(int count) {
        for (int i = 0; i < count; ++i)
            WriteFile(data + "/" + NameOf(i), std::to_string(i));
    }

    static std::string NewNameOf(int i) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "A-%04d ", i + 1);
        return prefix + NameOf(i);
    }

    // Checks that every entry is at its old or new name with its content, each exactly once,
    // and that the rows from `unreached` on are at their old names. Returns how many stand
    // renamed.
    int CheckNames(int count, int unreached) {
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::directory_iterator(PathOf(data)))
            found[test_paths::BytesOf(entry.path().filename())] =
                ReadFile(test_paths::BytesOf(entry.path()));
        int renamed = 0;
        for (int i = 0; i < count; ++i) {
            const bool old = found.contains(NameOf(i)), renamedNow = found.contains(NewNameOf(i));
            EXPECT_NE(old, renamedNow) << "entry " << i;
            EXPECT_TRUE(i < unreached || old) << "entry " << i << " was never reached";
            for (const std::string& name : {NameOf(i), NewNameOf(i)}) {
                if (const auto at = found.find(name); at != found.end()) {
                    EXPECT_EQ(at->second, std::to_string(i)) << name;
                    found.erase(at);
                }
            }
            renamed += renamedNow;
        }
        EXPECT_TRUE(found.empty()) << found.begin()->first << " is at a name it never had";
        return renamed;
    }

    std::string NewestJournal() const { return engine::ReadJournals(journals).back().Name; }

    // Runs `mode` ("batch", or "undo" of `journal`) in a child process, which signals after row
    // `at` and then waits to be killed.
    std::unique_ptr<test_child::TChildProcess> StartChild(const std::string& mode, std::size_t at,
                                                          const std::string& journal = {}) {
        fs::remove(PathOf(ready));
        auto child = std::make_unique<test_child::TChildProcess>(
            "JournalRecoveryChild.DISABLED_WorkUntilKilled",
            test_child::TEnvironment{{"ZELVORA_RECOVERY_MODE", mode},
                                     {"ZELVORA_RECOVERY_DATA", data},
                                     {"ZELVORA_RECOVERY_JOURNALS", journals},
                                     {"ZELVORA_RECOVERY_JOURNAL", journal},
                                     {"ZELVORA_RECOVERY_AT", std::to_string(at)},
                                     {"ZELVORA_RECOVERY_READY", ready}});
        EXPECT_TRUE(child->Started());
        EXPECT_TRUE(child->Started() && test_child::WaitForFile(ready))
            << "the child never got there";
        return child;
    }

    void KillAfter(const std::string& mode, std::size_t at, const std::string& journal = {}) {
        StartChild(mode, at, journal)->Kill();
    }

    std::string data, journals, ready;
};

} // namespace

// The child's side: a batch or an undo that signals after its row, then waits to be killed
// ("batch on": goes on renaming until it is). RealMount.KilledBatchIsCountedAndUndone runs it
// too.
TEST(JournalRecoveryChild, DISABLED_WorkUntilKilled) {
    const std::string data = Environment("ZELVORA_RECOVERY_DATA");
    if (data.empty()) GTEST_SKIP() << "run by the JournalRecovery tests";
    const std::size_t at = std::stoul(Environment("ZELVORA_RECOVERY_AT"));
    const std::string journals = Environment("ZELVORA_RECOVERY_JOURNALS");
    engine::TBatchControl control;
    const bool goOn = Environment("ZELVORA_RECOVERY_MODE") == "batch on";
    control.Progress = [&](std::size_t done, std::size_t) {
        if (done != at) return;
        WriteFile(Environment("ZELVORA_RECOVERY_READY"), "x");
        while (!goOn)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    };
    if (Environment("ZELVORA_RECOVERY_MODE") == "undo") {
        engine::UndoBatch(journals, Environment("ZELVORA_RECOVERY_JOURNAL"), control);
        return;
    }
    engine::TFolderListing listing;
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    control.JournalFolder = journals;
    engine::ApplyRenames(listing, engine::TRenameSettings{}, control);
}

// A batch at work in another process is neither offered nor touched. Killed, it is counted and
// taken back, and so is the undo killed in turn: at the next start every open journal is
// offered, newest first, and undone.
TEST_F(JournalRecovery, KilledBatchThenKilledUndoThenTheDefaultAnswers) {
    const int count = EntryCount();
    MakeEntries(count);
    const auto child = StartChild("batch", static_cast<std::size_t>(count / 2));
    ASSERT_FALSE(HasFailure());
    const auto live = engine::ReadJournals(journals);
    ASSERT_EQ(live.size(), 1u);
    EXPECT_TRUE(live[0].Running);
    EXPECT_FALSE(live[0].Closed);
    EXPECT_TRUE(engine::NextUndo(live).InTheWay && engine::NextUndo(live).InTheWay->Running);
    EXPECT_EQ(engine::LastUndoableBatch(live), nullptr);
    EXPECT_THROW_MSG(engine::UndoBatch(journals, live[0].Name), engine::TError, kRunning);
    EXPECT_THROW_MSG(engine::KeepJournal(journals, live[0].Name), engine::TError, kRunning);
    EXPECT_THROW(engine::CountRenamedRows(journals, live[0].Name), engine::TError);
    child->Kill();
    const int reached = CheckNames(count, count / 2);
    ASSERT_EQ(reached, count / 2);
    const std::string batch = NewestJournal();
    EXPECT_EQ(engine::CountRenamedRows(journals, batch), static_cast<std::size_t>(reached));

    KillAfter("undo", static_cast<std::size_t>(reached / 3), batch);
    EXPECT_EQ(CheckNames(count, reached), reached - reached / 3);
    const auto offered = engine::ReadJournals(journals);
    for (auto journal = offered.rbegin(); journal != offered.rend(); ++journal) {
        if (journal->Closed) continue;
        for (const engine::TUndoRow& row : engine::UndoBatch(journals, journal->Name).Rows)
            EXPECT_EQ(row.Error, 0) << row.From;
        CheckNames(count, reached);
    }
    EXPECT_EQ(CheckNames(count, 0), 0);
    for (const engine::TJournalSummary& journal : engine::ReadJournals(journals))
        EXPECT_TRUE(journal.Closed) << journal.Name;
}

// Killed at a moment of its own, maybe while it writes its journal, and after the journal took
// more spans of rows: the batch is counted and taken back whole, three times over.
TEST_F(JournalRecovery, ABatchKilledAnywhereIsTakenBackWhole) {
    const int count = 10 * EntryCount(); // beyond the journal's first span of rows
    MakeEntries(count);
    std::mt19937 random(20261207);
    for (int run = 0; run < 3; ++run) {
        const std::size_t at = std::uniform_int_distribution<std::size_t>(1, count)(random);
        SCOPED_TRACE("killed after row " + std::to_string(at));
        KillAfter("batch on", at);
        ASSERT_FALSE(HasFailure());
        const int reached = CheckNames(count, count);
        EXPECT_EQ(engine::CountRenamedRows(journals, NewestJournal()),
                  static_cast<std::size_t>(reached));
        for (const engine::TUndoRow& row : engine::UndoBatch(journals, NewestJournal()).Rows)
            ASSERT_EQ(row.Error, 0) << row.From;
        ASSERT_EQ(CheckNames(count, 0), 0);
        EXPECT_TRUE(engine::ReadJournals(journals).back().Closed);
    }
}

TEST_F(JournalRecovery, AChainKilledAfterTenRowsIsCountedAndTakenBackWhole) {
    // "ab" -> "b", "cab" -> "ab", "dcab" -> "cab" ...: each row takes the name the one before
    // gave up; deleting the first character makes the chain, list order is the chain's order.
    std::string name = "b";
    std::map<std::string, std::string> before;
    for (const char first : std::string("acdefghijklmn")) {
        name = first + name;
        WriteFile(data + "/" + name, name);
        before["/" + name] = "f 0644 " + name;
    }
    engine::TRenameSettings settings;
    settings.Mode = engine::TRenameMode::rmDelete;
    settings.DeleteStart = "1";
    settings.DeleteCount = "1";
    std::stop_source stop;
    engine::TBatchControl control{[&](std::size_t done, std::size_t) {
                                      if (done == 10) stop.request_stop();
                                  },
                                  stop.get_token(), journals};
    engine::TFolderListing listing;
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    engine::ApplyRenames(listing, settings, control);
    CutToStart(journals + "/" + NewestJournal());

    EXPECT_EQ(engine::CountRenamedRows(journals, NewestJournal()), 10u);
    EXPECT_EQ(engine::UndoBatch(journals, NewestJournal()).Rows.size(), 10u);
    EXPECT_EQ(testing_tree::Describe(data), before);
}

// Every cut and every flipped bit of a journal whose batch renamed 8 rows and failed one: the
// undo takes back what it can and moves nothing else, nor counts the occupant of the failed
// row's target, even with that row's own entry gone.
TEST_F(JournalRecovery, ACutOrFlippedJournalNeverMovesAnEntryWrongly) {
    MakeEntries(9);
    WriteFile(data + "/" + NewNameOf(4), "occupant");
    engine::TFolderListing listing;
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    std::erase_if(listing.Rows, [&](const auto& row) { return row.OldName == NewNameOf(4); });
    engine::ApplyRenames(listing, {}, {{}, {}, journals});
    const std::string name = NewestJournal();
    const std::string bytes = ReadFile(journals + "/" + name);
    const std::size_t step = test_paths::OnWindows() ? 13 : 3;
    for (std::size_t at = 0; at < 2 * bytes.size(); at += step) {
        const bool cut = at < bytes.size();
        std::string damaged = cut ? bytes.substr(0, at) : bytes;
        if (!cut) damaged[at - bytes.size()] ^= static_cast<char>(1 << (at % 8));
        SCOPED_TRACE((cut ? "cut at " : "bit flipped at ") + std::to_string(at % bytes.size()));
        testing_tree::RemoveAll(journals);
        testing_tree::MakeFolder(journals, 0700);
        WriteFile(journals + "/" + name, damaged, 0600);
        fs::rename(PathOf(data + "/" + NameOf(4)), PathOf(root + "/aside"));
        try {
            EXPECT_LE(engine::CountRenamedRows(journals, name), 8u);
            engine::UndoBatch(journals, name);
        } catch (const engine::TError&) { // a start that can't be read renames nothing
        }
        ASSERT_EQ(ReadFile(data + "/" + NewNameOf(4)), "occupant");
        fs::remove(PathOf(data + "/" + NewNameOf(4)));
        fs::rename(PathOf(root + "/aside"), PathOf(data + "/" + NameOf(4)));
        CheckNames(9, 9);
        for (int i = 0; i < 9; ++i) // back to the state after the batch
            if (Exists(data + "/" + NameOf(i)) && i != 4)
                fs::rename(PathOf(data + "/" + NameOf(i)), PathOf(data + "/" + NewNameOf(i)));
        WriteFile(data + "/" + NewNameOf(4), "occupant");
        if (HasFailure()) return;
    }
}

TEST_F(JournalRecovery, HugeJournalsAndLongNumbersLeaveCtrlZOnTheNewestBatch) {
    MakeEntries(2);
    testing_tree::MakeFolder(journals, 0700);
    // A sparse terabyte named like a journal, garbage or with a head that claims few rows.
    const std::string start = engine::EncodeJournalStart({}, {{"x", "y"}});
    for (const char* huge : {"0000000001.journal", "0000000002.journal"}) {
        WriteFile(journals + "/" + huge, huge[9] == '1' ? "garbage" : start, 0600);
        // Wine refuses a terabyte; 64 GiB is as far beyond any journal.
        fs::resize_file(PathOf(journals + "/" + huge),
                        std::uintmax_t{1} << (test_paths::OnWindows() ? 36 : 40));
    }
    engine::TFolderListing listing;
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    engine::ApplyRenames(listing, {}, {{}, {}, journals});
    fs::rename(PathOf(journals + "/" + NewestJournal()), PathOf(journals + "/9999999999.journal"));
    engine::TRenameSettings second;
    second.LeadText = "B-";
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    engine::ApplyRenames(listing, second, {{}, {}, journals});

    const auto all = engine::ReadJournals(journals);
    ASSERT_EQ(all.back().Name, "10000000000.journal");
    EXPECT_EQ(engine::LastUndoableBatch(all), &all.back());
    EXPECT_THROW(engine::UndoBatch(journals, "0000000002.journal"), engine::TError);
    engine::UndoBatch(journals, all.back().Name);
    EXPECT_EQ(CheckNames(2, 2), 2);
}

TEST_F(JournalRecovery, EmptyJournalsArePrunedAndARefusedBatchLeavesNone) {
    MakeEntries(1);
    testing_tree::MakeFolder(journals, 0700);
    WriteFile(journals + "/0000000007.journal", "", 0600);
    engine::TFolderListing listing;
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    engine::ApplyRenames(listing, {}, {{}, {}, journals});
    EXPECT_FALSE(Exists(journals + "/0000000007.journal"));
    ASSERT_EQ(engine::ReadJournals(journals).size(), 1u);

    if (test_paths::OnWindows()) GTEST_SKIP() << "no small volume to fill under Wine";
    const std::string full = root + "/full";
    testing_tree::MakeFolder(full);
    if (std::system(("mount -t tmpfs -o size=16k tmpfs '" + full + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "can't mount a small volume here";
    std::ofstream(PathOf(full + "/filler")) << std::string(64 * 1024, 'x');
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    EXPECT_THROW(engine::ApplyRenames(listing, {}, {{}, {}, full + "/state"}), engine::TError);
    const bool none = fs::is_empty(PathOf(full + "/state"));
    std::system(("umount '" + full + "'").c_str());
    EXPECT_TRUE(none);
    EXPECT_EQ(CheckNames(1, 1), 1);
}

// Ctrl+Z takes back the newest batch only: a newer journal not closed, at work in another
// window or cut short, stands in the way of every older one.
TEST(NextUndo, NeverSkipsANewerJournalThatIsNotClosed) {
    using enum engine::TJournalKind;
    const engine::TJournalSummary batch1{.Name = "1", .Kind = Batch, .Closed = true};
    const engine::TJournalSummary open2{.Name = "2", .Kind = Batch}; // its end record lost
    const engine::TJournalSummary running2{.Name = "2", .Kind = Batch, .Running = true};
    const engine::TJournalSummary undone3{
        .Name = "3", .Kind = Batch, .Closed = true, .Undone = true};
    const engine::TJournalSummary undo3{
        .Name = "4", .Kind = Undo, .Closed = true, .UndoesName = "3"};
    const engine::TJournalSummary openUndo{.Name = "5", .Kind = Undo};
    const engine::TJournalSummary empty{
        .Name = "6", .Kind = Batch, .Closed = true, .RenamedAny = false};
    struct TCase {
        const char* name;
        std::vector<engine::TJournalSummary> journals;
        const char *batch, *inTheWay;
    };
    const TCase cases[] = {
        {"nothing", {}, nullptr, nullptr},
        {"the newest batch", {batch1, undone3, undo3, empty}, "1", nullptr},
        {"a batch cut short", {batch1, open2}, nullptr, "2"},
        {"a batch at work behind an undo", {batch1, running2, undone3, undo3}, nullptr, "2"},
        {"an undo cut short", {batch1, openUndo}, nullptr, "5"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const engine::TUndoStep next = engine::NextUndo(c.journals);
        EXPECT_EQ(next.Batch ? next.Batch->Name : "", c.batch ? c.batch : "");
        EXPECT_EQ(next.InTheWay ? next.InTheWay->Name : "", c.inTheWay ? c.inTheWay : "");
    }
}
