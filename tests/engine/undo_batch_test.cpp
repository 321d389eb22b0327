// Batches and their undo on real temporary folders: every entry is compared by name, type,
// mode and whole content before and after.
#include <filesystem>
#include <map>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/journal.h"
#include "tests/engine/temp_folder.h"
#include "tests/engine/throw_message.h"

using testing_tree::Describe;
using testing_tree::Exists;
using testing_tree::MakeFolder;
using testing_tree::ReadFile;
using testing_tree::WriteFile;

namespace {

namespace fs = std::filesystem;

void Rename(const std::string& from, const std::string& to) {
    fs::rename(test_paths::PathOf(from), test_paths::PathOf(to));
}

class UndoBatch : public testing_tree::TTempFolderTest {
protected:
    void SetUp() override {
        TTempFolderTest::SetUp();
        data = root + "/data";
        journals = root + "/state/zelvora";
        MakeFolder(data);
    }

    // Lists `data` and renames it as the window does, with a journal.
    engine::TFolderListing Batch(const engine::TRenameSettings& settings = {},
                                 engine::TBatchControl control = {}) {
        engine::TFolderListing listing;
        engine::ListFolder(listing, data, engine::TFormatSettings{});
        control.JournalFolder = journals;
        engine::ApplyRenames(listing, settings, control);
        return listing;
    }

    engine::TUndoResult UndoLast() {
        const auto all = engine::ReadJournals(journals);
        const engine::TJournalSummary* last = engine::LastUndoableBatch(all);
        if (!last) throw std::logic_error("nothing to undo");
        return engine::UndoBatch(journals, last->Name);
    }

    std::map<std::string, std::string> Tree() const { return Describe(data); }

    // Writes an open journal of `rows`, as a batch cut short before any outcome leaves it.
    std::string WriteOpenJournal(const std::vector<engine::TJournalRow>& rows) {
        const engine::TJournalHead head{.Kind = engine::TJournalKind::Batch,
                                        .Folder = data + test_paths::Sep};
        MakeFolder(root + "/state");
        MakeFolder(journals, 0700);
        WriteFile(journals + "/0000000001.journal", engine::EncodeJournalStart(head, rows), 0600);
        return "0000000001.journal";
    }

    // Each row's error text by the name it was taken back from ("" when it went back).
    static std::map<std::string, std::string> Reasons(const engine::TUndoResult& undone) {
        std::map<std::string, std::string> reasons;
        for (const engine::TUndoRow& row : undone.Rows)
            reasons[row.From] = row.Error == 0 ? "" : engine::RenameFailureText(row.Error);
        return reasons;
    }

    bool BatchIsNextToUndo() const {
        const auto all = engine::ReadJournals(journals);
        const engine::TJournalSummary* last = engine::LastUndoableBatch(all);
        return last && last->Kind == engine::TJournalKind::Batch && last->Name == all.front().Name;
    }

    std::string data;
    std::string journals;
};

// Names each platform can hold that a careless conversion would break: a newline and bytes
// that are no UTF-8 on POSIX; Chinese and a character beyond U+FFFF (a UTF-16 pair) on
// Windows. Returns the name the third row gets and the last row's new name.
std::pair<std::string, std::string> MakeAwkwardEntries(const std::string& data) {
    const bool windows = test_paths::OnWindows();
    const std::string third = windows ? "plain.txt" : "line\nbreak.txt";
    const std::string last =
        windows ? "\xf0\x9f\x98\x80 \xe5\x90\x8d \xe5\xad\x97.bin" : "\xff\xfe latin1 \xe9.bin";
    WriteFile(data + "/plain.txt", "plain");
    WriteFile(data + "/" + third, "third");
    WriteFile(data + "/" + last, "last");
    if (windows) WriteFile(data + "/\xe5\x90\x8d \xe5\xad\x97.txt", "chinese");
    WriteFile(data + "/.hidden", "hidden", 0600);
    MakeFolder(data + "/folder");
    WriteFile(data + "/folder/inside", "inside");
    return {"A-0003 " + third, "A-0005 " + last};
}

} // namespace

// Rows changed since the batch fail with their reasons, and the rest go back: b's entry is
// deleted, c's old name is taken, d is renamed by hand, and another entry now stands at e's new
// name (the user deleted the renamed file and saved another under its name). The batch stays
// the next to undo, and undoing it again leaves out the rows back already.
TEST_F(UndoBatch, RowsChangedSinceFailWithReasonsAndTheRestGoBack) {
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        WriteFile(data + "/" + name, name);
    WriteFile(root + "/saved", "saved anew");
    Batch();
    ASSERT_TRUE(fs::remove(test_paths::PathOf(data + "/A-0002 b")));
    WriteFile(data + "/c", "newcomer");
    Rename(data + "/A-0004 d", data + "/by hand");
    ASSERT_TRUE(fs::remove(test_paths::PathOf(data + "/A-0005 e")));
    Rename(root + "/saved", data + "/A-0005 e");

    std::map<std::string, std::string> failed{{"A-0002 b", "找不到文件或文件夹"},
                                              {"A-0003 c", "目标已存在"},
                                              {"A-0004 d", "找不到文件或文件夹"},
                                              {"A-0005 e", "已换成另一个条目"}};
    auto reasons = failed;
    reasons.insert({{"A-0001 a", ""}, {"A-0006 f", ""}});
    EXPECT_EQ(Reasons(UndoLast()), reasons);
    EXPECT_TRUE(BatchIsNextToUndo());
    EXPECT_EQ(Reasons(UndoLast()), failed);
    EXPECT_EQ(Tree(), (std::map<std::string, std::string>{{"/a", "f 0644 a"},
                                                          {"/A-0003 c", "f 0644 c"},
                                                          {"/c", "f 0644 newcomer"},
                                                          {"/by hand", "f 0644 d"},
                                                          {"/A-0005 e", "f 0644 saved anew"},
                                                          {"/f", "f 0644 f"}}));
}

// Two batches over awkward names and their undos, newest first, bring back every name, mode
// and content.
TEST_F(UndoBatch, TwoBatchesThenTwoUndos) {
    const auto [third, last] = MakeAwkwardEntries(data);
    const auto original = Tree();
    for (const engine::TFolderEntry& row : Batch().Rows)
        EXPECT_EQ(row.Status, engine::TRenameStatus::Renamed) << row.OldName;
    EXPECT_TRUE(Exists(data + "/" + third));
    if (!test_paths::OnWindows()) { // there the user's own folder keeps the journals private
        EXPECT_EQ(testing_tree::ModeText(fs::status(test_paths::PathOf(journals))), "0700");
    }
    const auto afterFirst = Tree();
    engine::TRenameSettings second;
    second.LeadText = "B-";
    Batch(second);
    EXPECT_TRUE(Exists(data + "/B-0001 A-0001 .hidden"));
    UndoLast();
    EXPECT_EQ(Tree(), afterFirst);
    const engine::TUndoResult undone = UndoLast();
    EXPECT_EQ(undone.Folder, data + test_paths::Sep);
    ASSERT_EQ(undone.Rows.size(), 5u);
    EXPECT_EQ(undone.Rows[0].From, last); // newest first
    for (const engine::TUndoRow& row : undone.Rows)
        EXPECT_EQ(row.Error, 0) << row.From;
    EXPECT_EQ(Tree(), original);
    const auto all = engine::ReadJournals(journals);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_TRUE(all[0].Undone && all[1].Undone && !all[2].Undone && !all[3].Undone);
    EXPECT_EQ(all[2].Kind, engine::TJournalKind::Undo);
    EXPECT_EQ(engine::LastUndoableBatch(all), nullptr);
}

// The folder moved away and another made under its name, since it was listed or since its
// batch ran: neither the batch nor the undo renames anything, there or where it went.
TEST_F(UndoBatch, AReplacedFolderStopsTheBatchAndItsUndoBeforeAnyRename) {
    WriteFile(data + "/a", "a");
    Batch();
    engine::TFolderListing listing; // A-0001 a
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    Rename(data, root + "/moved");
    MakeFolder(data);
    WriteFile(data + "/A-0001 a", "impostor");
    EXPECT_THROW_MSG(engine::ApplyRenames(listing, {}, {.JournalFolder = journals}), engine::TError,
                     "“" + data + test_paths::Sep +
                         "”已不是列出的那个文件夹（它被移走或换掉了）。"
                         "没有改名任何条目，请重新选择文件夹");
    EXPECT_EQ(engine::ReadJournals(journals).size(), 1u) << "the refused batch left a journal";
    EXPECT_THROW(UndoLast(), engine::TError);
    EXPECT_EQ(Describe(root + "/moved"),
              (std::map<std::string, std::string>{{"/A-0001 a", "f 0644 a"}}));
    EXPECT_EQ(Tree(), (std::map<std::string, std::string>{{"/A-0001 a", "f 0644 impostor"}}));
}

TEST_F(UndoBatch, AnUnwritableJournalStopsTheBatchBeforeAnyRename) {
    WriteFile(data + "/a", "a");
    WriteFile(root + "/state", "a file where the folder should be");
    EXPECT_THROW(Batch(), engine::TError);
    EXPECT_EQ(Tree(), (std::map<std::string, std::string>{{"/a", "f 0644 a"}}));
}

TEST_F(UndoBatch, KeepsTheNewestTwentyClosedJournals) {
    WriteFile(data + "/x", "x");
    for (int i = 0; i < 12; ++i) {
        Batch();
        UndoLast();
    }
    const auto all = engine::ReadJournals(journals);
    ASSERT_EQ(all.size(), 20u);
    EXPECT_EQ(all.back().Name, "0000000024.journal");
    EXPECT_EQ(all.front().Name, "0000000005.journal");
    EXPECT_EQ(Tree(), (std::map<std::string, std::string>{{"/x", "f 0644 x"}}));
}

// On a volume that ignores case, «IMG_1» finds «img_1»: only the folder's own names tell which
// rows of a case-only batch cut short had run.
TEST_F(UndoBatch, ACaseOnlyBatchCutAtItsFirstRowCountsThatRowAlone) {
    std::vector<engine::TJournalRow> rows;
    for (int i = 0; i < 8; ++i) {
        const std::string name = "img_" + std::to_string(i);
        WriteFile(data + "/" + name, name);
        rows.push_back({name, "IMG_" + std::to_string(i), {}});
    }
    engine::TFolderListing listing;
    engine::ListFolder(listing, data, engine::TFormatSettings{});
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].Identity = listing.Rows[i].Identity;
    const auto before = Tree();
    const std::string name = WriteOpenJournal(rows);
    Rename(data + "/img_0", data + "/step"); // two steps: Wine takes a case-only rename as done
    Rename(data + "/step", data + "/IMG_0");

    EXPECT_EQ(engine::CountRenamedRows(journals, name), 1u);
    EXPECT_EQ(Reasons(engine::UndoBatch(journals, name)),
              (std::map<std::string, std::string>{{"IMG_0", ""}}));
    EXPECT_EQ(Tree(), before);
}

// An entry swapped between the undo's plan and its rename is asked for again, and stays.
TEST_F(UndoBatch, AnEntrySwappedWhileTheUndoRunsIsNotMoved) {
    for (const char* name : {"a", "b", "c"})
        WriteFile(data + "/" + name, name);
    WriteFile(root + "/stranger", "stranger");
    Batch();
    engine::TBatchControl control;
    control.Progress = [&](std::size_t done, std::size_t) {
        if (done != 1) return; // «A-0003 c» went back first
        Rename(data + "/A-0001 a", root + "/a moved away");
        Rename(root + "/stranger", data + "/A-0001 a");
    };
    const auto all = engine::ReadJournals(journals);
    EXPECT_EQ(Reasons(engine::UndoBatch(journals, all.back().Name, control))["A-0001 a"],
              "已换成另一个条目");
    EXPECT_EQ(Tree(),
              (std::map<std::string, std::string>{
                  {"/A-0001 a", "f 0644 stranger"}, {"/b", "f 0644 b"}, {"/c", "f 0644 c"}}));
}

// ext4 and tmpfs give a deleted file's inode number to the next file made, at once: the handle
// holds the inode's generation, so even a file of the same size and time is another entry.
TEST_F(UndoBatch, AReusedInodeNumberIsAnotherEntry) {
    if (test_paths::OnWindows()) GTEST_SKIP() << "Wine's file ids are inode numbers alone";
    WriteFile(data + "/a", "same");
    Batch();
    const std::string renamed = data + "/A-0001 a";
    const auto time = fs::last_write_time(test_paths::PathOf(renamed));
    ASSERT_TRUE(fs::remove(test_paths::PathOf(renamed)));
    WriteFile(renamed, "same");
    fs::last_write_time(test_paths::PathOf(renamed), time);
    EXPECT_EQ(Reasons(UndoLast()),
              (std::map<std::string, std::string>{{"A-0001 a", "已换成另一个条目"}}));
    EXPECT_TRUE(Exists(renamed));
}

// A stopped batch is closed and counts the rows it renamed. An undo cut short (its end record
// lost) is offered as such, and taking it "back" finishes it: the rows it had not reached go
// back too, and nothing it took back is renamed again.
TEST_F(UndoBatch, AStoppedBatchAndAnUndoCutShortAreFinishedNotReversed) {
    for (int i = 0; i < 6; ++i)
        WriteFile(data + "/f" + std::to_string(i), std::to_string(i));
    const auto before = Tree();
    std::stop_source stop;
    std::size_t stopAt = 4;
    engine::TBatchControl control;
    control.Stop = stop.get_token();
    control.Progress = [&](std::size_t done, std::size_t) {
        if (done == stopAt) stop.request_stop();
    };
    EXPECT_EQ(Batch({}, control).Rows[4].Status, engine::TRenameStatus::NotRun);
    const std::string batch = engine::ReadJournals(journals).back().Name;
    EXPECT_TRUE(engine::ReadJournals(journals).back().Closed);
    EXPECT_EQ(engine::CountRenamedRows(journals, batch), 4u);
    stop = {};
    control.Stop = stop.get_token();
    stopAt = 2;
    engine::UndoBatch(journals, batch, control);
    const std::string undo = engine::ReadJournals(journals).back().Name;
    const std::string path = journals + "/" + undo, bytes = ReadFile(path);
    WriteFile(path, bytes.substr(0, bytes.rfind('\0')), 0600); // as a kill before its end

    const auto all = engine::ReadJournals(journals);
    const engine::TUndoStep next = engine::NextUndo(all);
    ASSERT_TRUE(next.InTheWay);
    EXPECT_EQ(next.InTheWay->Name, undo);
    EXPECT_EQ(engine::CountRenamedRows(journals, undo), 2u);
    EXPECT_EQ(engine::UndoBatch(journals, undo).Rows.size(), 2u);
    EXPECT_EQ(Tree(), before);
    const auto after = engine::ReadJournals(journals);
    EXPECT_EQ(engine::NextUndo(after).Batch, nullptr);
}

// Nothing is renamed unjournaled: without a journal folder (HOME unset) the batch is refused,
// and the entry that holds the journal folder keeps its name, so Ctrl+Z still finds them.
TEST_F(UndoBatch, ABatchIsRefusedWithoutJournalsAndLeavesTheirFolderInPlace) {
    WriteFile(data + "/a", "a");
    for (const std::string folder : {"", "relative/state"}) {
        engine::TFolderListing listing;
        engine::ListFolder(listing, data, engine::TFormatSettings{});
        EXPECT_THROW_MSG(engine::ApplyRenames(listing, {}, {.JournalFolder = folder}),
                         engine::TError,
                         "不知道把改名记录存放在哪里（没有设置 HOME），改了名就无法撤销。"
                         "没有改名任何条目");
    }
    EXPECT_EQ(Tree(), (std::map<std::string, std::string>{{"/a", "f 0644 a"}}));

    MakeFolder(root + "/state");
    engine::TFolderListing listing; // data, state
    engine::ListFolder(listing, root, engine::TFormatSettings{});
    ASSERT_EQ(listing.Rows.size(), 2u);
    engine::ApplyRenames(listing, {}, {.JournalFolder = journals});
    EXPECT_EQ(listing.Rows[0].Status, engine::TRenameStatus::Renamed);
    EXPECT_EQ(engine::RenameFailureText(listing.Rows[1].Error), "里面存放着改名记录，不能改名");
    EXPECT_TRUE(Exists(root + "/state"));
    EXPECT_EQ(Reasons(UndoLast()), (std::map<std::string, std::string>{{"A-0001 data", ""}}));
}
