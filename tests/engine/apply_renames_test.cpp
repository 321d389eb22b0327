#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/engine/rename_fixture.h"
#include "tests/engine/throw_message.h"

using engine::TRenameMode;
using engine::TRenameStatus;
using rename_test::Entries;
using rename_test::PathOf;
namespace fs = std::filesystem;
using rename_test::FileRow;
using rename_test::FolderRow;
using rename_test::ReadFile;
using Names = std::vector<std::string>;

const std::string TargetExists = "目标已存在", NotFound = "找不到文件或文件夹",
                  NameTooLong = "文件名过长", InvalidName = "文件名无效",
                  Replaced = "已换成另一个条目";

namespace {

class ApplyRenames : public rename_test::TTempFolderTest {
protected:
    // `reason` is the failure's text: error codes differ between platforms, their texts not.
    void ExpectRow(std::size_t index, const std::string& newName, TRenameStatus status,
                   const std::string& reason = "") {
        SCOPED_TRACE("row " + std::to_string(index));
        const engine::TFolderEntry& row = m_listing.Rows.at(index);
        EXPECT_EQ(row.NewName, newName);
        EXPECT_EQ(row.Status, status);
        EXPECT_EQ(row.Error == 0 ? "" : engine::RenameFailureText(row.Error), reason);
    }

    engine::TRenameSettings m_settings;
};

} // namespace

// A folder row takes a number of its own, and its dot starts no extension.
TEST_F(ApplyRenames, NumbersInListOrder) {
    for (const char* name : {"a.txt", "b.txt"})
        MakeFile(name, name);
    MakeFolder("my.photos");
    MakeFile("my.photos/inside");
    m_listing.Rows = {FileRow("b.txt", ".txt"), FolderRow("my.photos"), FileRow("a.txt", ".txt")};
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "A-0001 b.txt", TRenameStatus::Renamed);
    ExpectRow(1, "A-0002 my.photos", TRenameStatus::Renamed);
    ExpectRow(2, "A-0003 a.txt", TRenameStatus::Renamed);
    EXPECT_EQ(Entries(m_root), (Names{"A-0001 b.txt", "A-0002 my.photos", "A-0003 a.txt"}));
    EXPECT_EQ(ReadFile(At("A-0001 b.txt")), "b.txt");
    EXPECT_EQ(Entries(At("A-0002 my.photos")), Names{"inside"});
}

// A taken target, file or folder, fails only its own row and is never replaced.
TEST_F(ApplyRenames, TakenTargetFailsOnlyItsRow) {
    MakeFile("a.txt", "a");
    MakeFile("A-0001 a.txt", "keep me");
    MakeFolder("d");
    MakeFolder("A-0002 d");
    MakeFile("A-0002 d/inside", "inside");
    MakeFile("b.txt", "b");
    m_listing.Rows = {FileRow("a.txt", ".txt"), FolderRow("d"), FileRow("b.txt", ".txt")};
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "A-0001 a.txt", TRenameStatus::Failed, TargetExists);
    ExpectRow(1, "A-0002 d", TRenameStatus::Failed, TargetExists);
    ExpectRow(2, "A-0003 b.txt", TRenameStatus::Renamed);
    EXPECT_EQ(ReadFile(At("A-0001 a.txt")), "keep me");
    EXPECT_EQ(ReadFile(At("a.txt")), "a");
    EXPECT_EQ(Entries(At("A-0002 d")), Names{"inside"});
    EXPECT_EQ(Entries(m_root), (Names{"A-0001 a.txt", "A-0002 d", "A-0003 b.txt", "a.txt", "d"}));
}

// Between the listing and the batch, an editor saves one file anew (a new file renamed over
// it) and another program appends to one in place: only the file listed is renamed.
TEST_F(ApplyRenames, RenamesTheEntriesItListedOnly) {
    MakeFile("a.txt", "listed");
    MakeFile("b.txt", "b");
    engine::ListFolder(m_listing, m_root, {});
    MakeFile("a.tmp", "saved anew");
    fs::rename(PathOf(At("a.tmp")), PathOf(At("a.txt")));
    std::ofstream(PathOf(At("b.txt")), std::ios::app) << " grown";
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "A-0001 a.txt", TRenameStatus::Failed, Replaced);
    ExpectRow(1, "A-0002 b.txt", TRenameStatus::Renamed);
    EXPECT_EQ(ReadFile(At("a.txt")), "saved anew");
    EXPECT_EQ(ReadFile(At("A-0002 b.txt")), "b grown");
}

// A caption edited in place names another entry, which is listed again for its row.
TEST_F(ApplyRenames, CaptionEditedInPlaceRenamesTheEntryItNames) {
    MakeFile("a.txt", "a");
    engine::ListFolder(m_listing, m_root, {});
    MakeFile("z.txt", "z");
    m_listing.Rows[0].OldName = "z.txt";
    engine::RelistIdentity(m_listing.CurrentFolder, m_listing.Rows[0]);
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "A-0001 z.txt", TRenameStatus::Renamed);
    EXPECT_EQ(Entries(m_root), (Names{"A-0001 z.txt", "a.txt"}));
}

// Two windows on one folder run the same batch: the second claims none of the first's rows,
// so Ctrl+Z takes back the first.
TEST_F(ApplyRenames, RowsAnotherWindowRenamedAreNotClaimed) {
    MakeFile("a.txt", "a");
    MakeFolder("f");
    engine::ListFolder(m_listing, m_root, {});
    engine::TFolderListing second = m_listing;
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    const std::string first = engine::ReadJournals(m_journals).back().Name;
    engine::ApplyRenames(second, m_settings, Journaled());
    for (const engine::TFolderEntry& row : second.Rows)
        EXPECT_EQ(row.Status, TRenameStatus::Failed) << row.OldName;
    const auto journals = engine::ReadJournals(m_journals);
    EXPECT_EQ(engine::CountRenamedRows(m_journals, journals.back().Name), 0u);
    ASSERT_NE(engine::LastUndoableBatch(journals), nullptr);
    EXPECT_EQ(engine::LastUndoableBatch(journals)->Name, first);
}

// Two windows start the same batch on one folder at once: each entry is renamed once, and
// only one of them claims it.
TEST_F(ApplyRenames, TwoBatchesAtOnceNeverBothClaimARow) {
    for (int i = 0; i < 500; ++i)
        MakeFile("f" + std::to_string(1000 + i));
    engine::ListFolder(m_listing, m_root, {});
    engine::TFolderListing second = m_listing;
    // A spin, not std::latch: the latch's wait loses its wake-up under mingw-w64's libstdc++.
    std::atomic<int> arrived = 0;
    std::string errors[2];
    const auto run = [&](engine::TFolderListing& listing, std::string& error) {
        ++arrived;
        while (arrived < 2)
            std::this_thread::yield();
        try {
            engine::ApplyRenames(listing, m_settings, Journaled());
        } catch (const engine::TError& e) {
            error = e.what();
        }
    };
    std::thread other(run, std::ref(second), std::ref(errors[1]));
    run(m_listing, errors[0]);
    other.join();
    EXPECT_EQ(errors[0] + errors[1], ""); // each journaled under a name of its own
    Names renamed;
    for (std::size_t i = 0; i < second.Rows.size(); ++i) {
        const bool first = m_listing.Rows[i].Status == TRenameStatus::Renamed;
        EXPECT_NE(first, second.Rows[i].Status == TRenameStatus::Renamed) << i;
        renamed.push_back(m_listing.Rows[i].NewName);
    }
    std::sort(renamed.begin(), renamed.end());
    EXPECT_EQ(Entries(m_root), renamed);
}

TEST_F(ApplyRenames, RowFreedByAnotherRunsAgain) {
    MakeFile("1.txt", "one");
    MakeFile("A-0001 1.txt", "other");
    m_listing.Rows = {FileRow("1.txt", ".txt"), FileRow("A-0001 1.txt", ".txt")};
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "A-0001 1.txt", TRenameStatus::Failed, TargetExists);
    ExpectRow(1, "A-0002 A-0001 1.txt", TRenameStatus::Renamed);
    EXPECT_EQ(Entries(m_root), (Names{"1.txt", "A-0002 A-0001 1.txt"}));

    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "A-0001 1.txt", TRenameStatus::Renamed);
    ExpectRow(1, "A-0002 A-0001 1.txt", TRenameStatus::Failed, TargetExists);
    EXPECT_EQ(ReadFile(At("A-0001 1.txt")), "one");
    EXPECT_EQ(ReadFile(At("A-0002 A-0001 1.txt")), "other");
}

// The progress counts every row in order, the failed ones too.
TEST_F(ApplyRenames, NumberWrapsAroundAndGoesOnAfterFailures) {
    MakeFile("b.txt");
    MakeFile("c.txt");
    m_settings.StartNumber = "2147483647";
    m_listing.Rows = {FileRow("missing.txt", ".txt"), FileRow("b.txt", ".txt"),
                      FileRow("c.txt", ".txt")};
    std::vector<std::size_t> counts;
    engine::TBatchControl control = Journaled();
    control.Progress = [&](std::size_t done, std::size_t total) {
        counts.push_back(total == 3 ? done : 0);
    };
    engine::ApplyRenames(m_listing, m_settings, control);
    EXPECT_EQ(counts, (std::vector<std::size_t>{1, 2, 3}));
    ExpectRow(0, "A-2147483647 missing.txt", TRenameStatus::Failed, NotFound);
    ExpectRow(1, "A--2147483648 b.txt", TRenameStatus::Renamed);
    ExpectRow(2, "A--2147483647 c.txt", TRenameStatus::Renamed);
}

TEST_F(ApplyRenames, BadSettingsStopBeforeAnyRename) {
    struct Row {
        const char* name;
        const char *start, *digits, *deleteStart;
        TRenameMode mode;
        std::string want;
    };
    const Row rows[] = {
        {"start before digits", "a", "b", "1", TRenameMode::rmReplace,
         "'a' is not a valid integer value"},
        {"digits in delete mode", "1", "x", "1", TRenameMode::rmDelete,
         "'x' is not a valid integer value"},
        {"delete start", "1", "4", "+-1", TRenameMode::rmDelete,
         "'+-1' is not a valid integer value"},
        {"huge digit count", "1", "256", "1", TRenameMode::rmPrefix,
         test_paths::DigitCountTooLarge("256")},
    };
    MakeFile("a.txt");
    MakeFile("b.txt");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        m_listing.Rows = {FileRow("a.txt", ".txt"), FileRow("b.txt", ".txt")};
        m_settings.StartNumber = r.start;
        m_settings.Digits = r.digits;
        m_settings.DeleteStart = r.deleteStart;
        m_settings.Mode = r.mode;
        EXPECT_THROW_MSG(engine::ApplyRenames(m_listing, m_settings, Journaled()), engine::TError,
                         r.want);
        EXPECT_EQ(Entries(m_root), (Names{"a.txt", "b.txt"}));
        ExpectRow(0, "", TRenameStatus::NotRun);
    }
}

// Start and digits are parsed even for no rows; the delete texts only in delete mode, per row.
TEST_F(ApplyRenames, ParsesOnlyTheTextsItUses) {
    MakeFile("a.txt");
    m_settings.DeleteStart = "bad";
    m_settings.DeleteCount = "";
    m_listing.Rows = {FileRow("a.txt", ".txt")};
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "A-0001 a.txt", TRenameStatus::Renamed);

    m_listing.Rows.clear();
    m_settings.Mode = TRenameMode::rmDelete;
    EXPECT_NO_THROW(engine::ApplyRenames(m_listing, m_settings, Journaled()));
    m_settings.Digits = "4x";
    EXPECT_THROW_MSG(engine::ApplyRenames(m_listing, m_settings, Journaled()), engine::TError,
                     "'4x' is not a valid integer value");
}

TEST_F(ApplyRenames, DeleteCountZeroSkipsEveryRow) {
    MakeFile("a.txt", "a");
    MakeFolder("d");
    m_settings.Mode = TRenameMode::rmDelete;
    m_settings.DeleteCount = "0";
    m_listing.Rows = {FileRow("a.txt", ".txt"), FolderRow("d"), FileRow("gone", "")};
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "a.txt", TRenameStatus::Skipped);
    ExpectRow(1, "d", TRenameStatus::Skipped);
    ExpectRow(2, "gone", TRenameStatus::Skipped);
    EXPECT_EQ(Entries(m_root), (Names{"a.txt", "d"}));
}

// A separator in the lead text makes the new name a path inside the folder: into a sub-folder
// once it is there, and never above the folder, however many separators lead.
TEST_F(ApplyRenames, SeparatorsInTheLeadTextStayInsideTheFolder) {
    MakeFile("a.txt", "a");
    MakeFile("b.txt", "b");
    m_settings.LeadText = "sub/";
    m_listing.Rows = {FileRow("a.txt", ".txt")};
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "sub/0001 a.txt", TRenameStatus::Failed, NotFound);
    MakeFolder("sub");
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "sub/0001 a.txt", TRenameStatus::Renamed);
    EXPECT_EQ(ReadFile(At("sub/0001 a.txt")), "a");

    m_settings = {.LeadText = "//x", .TrailText = "", .Mode = TRenameMode::rmReplace};
    m_listing.Rows = {FileRow("b.txt", ".txt")};
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ExpectRow(0, "//x0001.txt", TRenameStatus::Renamed);
    EXPECT_EQ(Entries(m_root), (Names{"sub", "x0001.txt"}));
}

// A row whose old name is no name of the folder's own, or whose new name is none or too long,
// fails alone before any rename: nothing in the folder or above it changes.
TEST_F(ApplyRenames, RowsWithoutAPlainNameFailAlone) {
    MakeFile("sentinel.txt", "s");
    MakeFolder("inner");
    MakeFolder("inner/sub");
    MakeFile("inner/a", "a");
    MakeFile("inner/sub/x", "x");
    m_listing.CurrentFolder = At("inner/");
    using enum TRenameMode;
    const struct {
        const char* name;
        std::string oldName;
        TRenameMode mode;
        std::string lead, digits, want;
        const std::string& reason;
    } rows[] = {
        {"old name above the folder", "../sentinel.txt", rmSuffix, "A-", "4",
         "../sentinelA-0001 .txt", InvalidName},
        {"old name in a sub-folder", "sub/x", rmSuffix, "A-", "4", "sub/xA-0001 ", InvalidName},
        {"old name holding NUL", std::string("a\0b", 3), rmReplace, "A-", "4", "A-0001 ",
         InvalidName},
        {"new name holding NUL", "a", rmPrefix, std::string("x\0y", 3), "4",
         std::string("x\0y0001 a", 9), InvalidName},
        {"empty new name", "a", rmDelete, "", "4", "", InvalidName},
        {"new name .", "x.", rmDelete, "", "4", ".", InvalidName},
        {"new name ..", "y..", rmDelete, "", "4", "..", InvalidName},
        // 255 digits is the largest count the settings take; the 256-byte name is too long.
        {"overlong new name", "a", rmPrefix, "", "255", std::string(254, '0') + "1 a", NameTooLong},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        m_settings = {.Digits = r.digits, .LeadText = r.lead, .DeleteCount = "1", .Mode = r.mode};
        m_listing.Rows = {FileRow(r.oldName, std::string(engine::FileExtension(r.oldName)))};
        engine::ApplyRenames(m_listing, m_settings, Journaled());
        ExpectRow(0, r.want, TRenameStatus::Failed, r.reason);
        EXPECT_EQ(Entries(m_root + "/inner"), (Names{"a", "sub"}));
    }
    EXPECT_EQ(Entries(m_root), (Names{"inner", "sentinel.txt"}));
    EXPECT_EQ(Entries(m_root + "/inner/sub"), Names{"x"});
    EXPECT_EQ(ReadFile(m_root + "/sentinel.txt"), "s");
}
