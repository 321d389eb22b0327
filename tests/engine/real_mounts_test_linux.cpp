// A batch and its undo on real mounts that scripts/with-test-mounts.sh makes for the run (ctest
// RealMounts.<kind>, as root): FUSE file systems whose inode numbers last as long as the mount, an
// overlay whose renames copy entries up to new inodes, a volume mounted again under new device
// numbers, and strangers that take a renamed entry's name before or during the undo.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/messages.h"
#include "tests/engine/child_process.h"
#include "tests/engine/rename_fixture.h"
#include "tests/engine/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using test_paths::PathOf;
using testing_tree::ReadFile;
using testing_tree::WriteFile;
using TTree = std::map<std::string, std::string>;
using namespace std::chrono_literals;

constexpr int kEntries = 300;
constexpr std::size_t kKilledAfter = 120;
// 2019-03-01 08:00:00 UTC; times on even seconds, as FAT-like file systems keep them.
constexpr std::int64_t kTakenAt = 1551427200;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string NameOf(int i) {
    char name[64];
    if (i % 30 == 0)
        std::snprintf(name, sizeof name, "文件夹 %02d", i / 30);
    else
        std::snprintf(name, sizeof name, i % 2 ? "IMG_%04d.JPG" : "照片 %03d.jpg", i);
    return name;
}

// "<content> @<modified>" for a file, "folder <content of its file>" for a folder.
std::string Describe(const std::string& path) {
    if (fs::is_directory(PathOf(path))) return "folder " + ReadFile(path + "/id");
    const auto modified = std::chrono::file_clock::to_sys(fs::last_write_time(PathOf(path)));
    return ReadFile(path) + " @" + std::to_string(modified.time_since_epoch() / 1s);
}

// Passes when `got` equals `want`, else says how they differ, in a few lines.
::testing::AssertionResult Same(const TTree& want, const TTree& got) {
    std::string text;
    int count = 0;
    const auto note = [&](const std::string& line) {
        if (++count <= 6) text += "\n  " + line;
    };
    for (const auto& [name, description] : want) {
        const auto found = got.find(name);
        if (found == got.end())
            note("missing: " + name + " (" + description + ")");
        else if (found->second != description)
            note(name + ": " + found->second + " instead of " + description);
    }
    for (const auto& [name, description] : got)
        if (!want.contains(name)) note("unexpected: " + name + " (" + description + ")");
    if (count == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << count << " differences:" << text;
}

class RealMount : public ::testing::Test {
protected:
    // A folder of kEntries photos and folders in the mount, as a camera leaves them: each with a
    // content of its own and an old modification time. On an overlay they are made in the lower
    // layer, so each rename copies its entry up.
    void SetUp() override {
        if (const std::string skip = Environment("ZELVORA_MOUNT_SKIP"); !skip.empty())
            GTEST_SKIP() << skip;
        const std::string mount = Environment("ZELVORA_MOUNT_DIR");
        if (mount.empty())
            GTEST_SKIP() << "no test mount: ctest RealMounts.<kind> runs these as root on the "
                            "mounts of scripts/with-test-mounts.sh";
        state = test_paths::MakeTempFolder("zelvora-mount-state");
        journals = state + "/journals";
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = mount + "/相册 " + name;
        const std::string lower = Environment("ZELVORA_MOUNT_LOWER");
        const std::string made = lower.empty() ? folder : lower + "/相册 " + name;
        ASSERT_NO_FATAL_FAILURE(testing_tree::MakeFolder(made));
        for (int i = 0; i < kEntries; ++i) {
            const std::string content = "entry " + std::to_string(i), path = made + "/" + NameOf(i);
            const std::int64_t at = kTakenAt + 60 * i;
            const timespec times[2] = {{at, 0}, {at, 0}};
            const bool isFolder = i % 30 == 0;
            if (isFolder) testing_tree::MakeFolder(path);
            WriteFile(isFolder ? path + "/id" : path, content);
            // Both times, as a copy that keeps them sets them: exfat-fuse drops a change of the
            // modification time alone.
            ASSERT_TRUE(isFolder || ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0) << path;
            original[NameOf(i)] =
                isFolder ? "folder " + content : content + " @" + std::to_string(at);
        }
        ASSERT_TRUE(lower.empty() || Remount()); // the overlay shows them once mounted again
        engine::ListFolder(listing, folder, engine::TFormatSettings{});
        ASSERT_TRUE(Same(original, Snapshot()));
    }
    void TearDown() override {
        if (!folder.empty()) testing_tree::RemoveAll(folder);
        if (!state.empty()) testing_tree::RemoveAll(state);
    }

    TTree Snapshot() const {
        TTree tree;
        for (const auto& entry : fs::directory_iterator(PathOf(folder))) {
            const std::string name = test_paths::BytesOf(entry.path().filename());
            tree[name] = Describe(folder + "/" + name);
        }
        return tree;
    }

    static bool Remount() { return std::system(Environment("ZELVORA_MOUNT_REMOUNT").c_str()) == 0; }

    // Renames every row with the default settings, journaled outside the mount, and checks that
    // each entry stands at its new name; returns the batch's journal.
    std::string Batch() {
        engine::TBatchControl control;
        control.JournalFolder = journals;
        engine::ApplyRenames(listing, engine::TRenameSettings{}, control);
        TTree renamed, failed;
        for (const engine::TFolderEntry& row : listing.Rows) {
            if (row.Status != engine::TRenameStatus::Renamed)
                failed[row.OldName] = engine::RenameFailureText(row.Error);
            renamed[row.NewName] = original[row.OldName];
        }
        EXPECT_TRUE(Same({}, failed)); // rows that failed
        EXPECT_TRUE(Same(renamed, Snapshot()));
        const auto all = engine::ReadJournals(journals);
        const engine::TJournalSummary* batch = engine::LastUndoableBatch(all);
        return batch ? batch->Name : "<no batch to undo>";
    }

    // Checks the undo of journal `batch`: every row went back but those of `strangers` (row
    // index -> what stands at its new name now, not the entry renamed), which failed, leaving
    // the stranger in place and the batch to be undone still.
    void ExpectUndone(const std::string& batch, const engine::TUndoResult& undone,
                      const std::map<std::size_t, std::string>& strangers = {}) {
        TTree want = original; // where a new name stands in it, a stranger stands
        for (const auto& [row, description] : strangers) {
            want.erase(listing.Rows[row].OldName);
            want[listing.Rows[row].NewName] = description;
        }
        TTree wrong; // undo rows that failed, or moved a stranger
        for (const engine::TUndoRow& row : undone.Rows)
            if ((row.Error != 0) != want.contains(row.From))
                wrong["undo " + row.From + " -> " + row.To] =
                    row.Error ? "failed: " + engine::RenameFailureText(row.Error)
                              : "moved a stranger";
        EXPECT_TRUE(Same({}, wrong));
        EXPECT_TRUE(Same(want, Snapshot()));
        const auto all = engine::ReadJournals(journals);
        const engine::TJournalSummary* last = engine::LastUndoableBatch(all);
        EXPECT_EQ(last && last->Name == batch, !strangers.empty())
            << "the batch " << (strangers.empty() ? "is offered again" : "is not offered");
    }

    std::string state, journals, folder;
    engine::TFolderListing listing;
    TTree original; // name -> Describe()
};

} // namespace

TEST_F(RealMount, UndoAfterTheVolumeIsMountedAgain) {
    const std::string batch = Batch();
    ASSERT_TRUE(Remount());
    ExpectUndone(batch, engine::UndoBatch(journals, batch));
}

TEST_F(RealMount, KilledBatchIsCountedAndUndone) {
    const std::string ready = state + "/ready";
    test_child::TChildProcess child("JournalRecoveryChild.DISABLED_WorkUntilKilled",
                                    {{"ZELVORA_RECOVERY_MODE", "batch"},
                                     {"ZELVORA_RECOVERY_DATA", folder},
                                     {"ZELVORA_RECOVERY_JOURNALS", journals},
                                     {"ZELVORA_RECOVERY_AT", std::to_string(kKilledAfter)},
                                     {"ZELVORA_RECOVERY_READY", ready}});
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(test_child::WaitForFile(ready)) << "the child never reached its row";
    child.Kill();

    std::size_t moved = 0;
    for (const auto& [name, description] : Snapshot())
        moved += !original.contains(name);
    EXPECT_EQ(moved, kKilledAfter);
    const auto all = engine::ReadJournals(journals);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(engine::CountRenamedRows(journals, all[0].Name), moved);
    ExpectUndone(all[0].Name, engine::UndoBatch(journals, all[0].Name));
}

// A new photo saved under a renamed name before the undo, and while the undo runs, newest row
// first, two entries it has yet to take back replaced: one by a file renamed over it, one
// deleted and saved anew. The undo leaves each stranger where it stands.
TEST_F(RealMount, EntriesReplacedBeforeOrDuringTheUndoAreLeftAlone) {
    const std::string batch = Batch();
    const std::string saved = folder + "/" + listing.Rows[7].NewName; // rows 0 to 149: IMG_ files
    ASSERT_TRUE(fs::remove(PathOf(saved)));
    WriteFile(saved, "a new photo saved under this name");
    std::map<std::size_t, std::string> strangers{{7, Describe(saved)}};
    engine::TBatchControl control;
    control.Progress = [&](std::size_t done, std::size_t) {
        if (done != 10) return;
        const std::string over = folder + "/" + listing.Rows[3].NewName;
        const std::string anew = folder + "/" + listing.Rows[5].NewName;
        WriteFile(folder + "/stranger", "a file renamed over the name");
        fs::rename(PathOf(folder + "/stranger"), PathOf(over));
        fs::remove(PathOf(anew));
        WriteFile(anew, "a file saved under the name");
        strangers.insert({{3, Describe(over)}, {5, Describe(anew)}});
    };
    const engine::TUndoResult undone = engine::UndoBatch(journals, batch, control);
    ASSERT_EQ(strangers.size(), 3u) << "the undo never reached its tenth row";
    ExpectUndone(batch, undone, strangers);
}

// After the listing, an editor saves one photo anew (a file renamed over it) and another is
// deleted and saved again: the batch renames neither, and says so on their rows.
TEST_F(RealMount, EntrySavedAnewAfterTheListingIsNotRenamed) {
    const std::string over = folder + "/" + listing.Rows[3].OldName;
    const std::string anew = folder + "/" + listing.Rows[5].OldName;
    WriteFile(folder + "/saving", "saved by an editor");
    fs::rename(PathOf(folder + "/saving"), PathOf(over));
    fs::remove(PathOf(anew));
    WriteFile(anew, "saved again");
    engine::TBatchControl control;
    control.JournalFolder = journals;
    engine::ApplyRenames(listing, engine::TRenameSettings{}, control);
    TTree refused;
    for (const engine::TFolderEntry& row : listing.Rows)
        if (row.Status != engine::TRenameStatus::Renamed)
            refused[row.OldName] = engine::RenameFailureText(row.Error);
    const std::string replaced(engine::messages::EntryReplaced);
    EXPECT_TRUE(
        Same({{listing.Rows[3].OldName, replaced}, {listing.Rows[5].OldName, replaced}}, refused));
    EXPECT_EQ(Describe(over).substr(0, 18), "saved by an editor");
    EXPECT_EQ(Describe(anew).substr(0, 11), "saved again");
}

// FAT, exFAT and NTFS volumes go to Windows: a name it can't open, or one that differs only in
// case from another entry's, fails on its row with the reason, and nothing is written.
TEST_F(RealMount, NamesWindowsCantOpenAreRefusedWhereWindowsReads) {
    const std::string kind = Environment("ZELVORA_MOUNT_KIND");
    const bool windowsReads = kind == "exfat" || kind == "ntfs";
    using enum engine::TRenameMode;
    const struct {
        const char *name, *from, *lead, *trail;
        engine::TRenameMode mode;
        const char* beside;
        int error;
    } cases[] = {
        {"trailing dot", "src", "A-", ".", rmSuffix, "", engine::rrWindowsName},
        {"trailing space", "src", "A-", " ", rmSuffix, "", engine::rrWindowsName},
        {"device name", "src.txt", "COM", "", rmReplace, "", engine::rrWindowsName},
        {"question mark", "src.txt", "a?b", "", rmReplace, "", engine::rrWindowsName},
        {"case twin", "src.txt", "twin", "", rmReplace, "Twin1.txt", engine::rrCaseTwin},
        {"case twin beyond ASCII", "src.txt", "été", "", rmReplace, "ÉTÉ1.txt", engine::rrCaseTwin},
    };
    const std::string names = folder + "/names";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_tree::RemoveAll(names);
        testing_tree::MakeFolder(names);
        WriteFile(names + "/" + c.from, "photo");
        if (*c.beside) WriteFile(names + "/" + c.beside, "another");
        engine::TFolderListing one{names + "/", {}};
        one.Rows = {rename_test::FileRow(c.from, std::string(engine::FileExtension(c.from)))};
        engine::ApplyRenames(
            one, {.Digits = "1", .LeadText = c.lead, .TrailText = c.trail, .Mode = c.mode},
            {.JournalFolder = journals});
        const int error = one.Rows[0].Error;
        if (!windowsReads) {
            EXPECT_EQ(error, 0) << engine::RenameFailureText(error);
            continue;
        }
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(engine::RenameFailureText(error).starts_with("文件名无效："));
        EXPECT_TRUE(testing_tree::Exists(names + "/" + c.from));
    }
}

// img_1.jpg -> IMG_1.jpg: where the volume ignores case the name is the entry's own, and the
// rename goes through a stop-over name; the undo takes it back the same way.
TEST_F(RealMount, CaseOnlyRenamesAndTheirUndo) {
    const std::string cases = folder + "/cases";
    testing_tree::MakeFolder(cases);
    for (int i = 1; i <= 3; ++i)
        WriteFile(cases + "/img_" + std::to_string(i) + ".jpg", std::to_string(i));
    engine::TFolderListing renamed;
    engine::ListFolder(renamed, cases, engine::TFormatSettings{});
    engine::TBatchControl control;
    control.JournalFolder = journals;
    engine::ApplyRenames(renamed,
                         {.Digits = "1",
                          .LeadText = "IMG_",
                          .TrailText = "",
                          .Mode = engine::TRenameMode::rmReplace},
                         control);
    for (const engine::TFolderEntry& row : renamed.Rows)
        EXPECT_EQ(row.Error, 0) << row.NewName << ": " << engine::RenameFailureText(row.Error);
    const auto contents = [&] { // modes are the driver's on FAT and NTFS
        TTree tree;
        for (const auto& entry : fs::directory_iterator(PathOf(cases)))
            tree[test_paths::BytesOf(entry.path().filename())] = ReadFile(entry.path().string());
        return tree;
    };
    EXPECT_EQ(contents(), (TTree{{"IMG_1.jpg", "1"}, {"IMG_2.jpg", "2"}, {"IMG_3.jpg", "3"}}));
    const auto all = engine::ReadJournals(journals);
    for (const engine::TUndoRow& row : engine::UndoBatch(journals, all.back().Name).Rows)
        EXPECT_EQ(row.Error, 0) << row.From;
    EXPECT_EQ(contents(), (TTree{{"img_1.jpg", "1"}, {"img_2.jpg", "2"}, {"img_3.jpg", "3"}}));
    // The tree's label rename, which no journal knows, goes the same way.
    EXPECT_EQ(engine::RenameEntry(cases, "img_1.jpg", "IMG_1.jpg"), 0);
    EXPECT_TRUE(contents().contains("IMG_1.jpg"));
}
