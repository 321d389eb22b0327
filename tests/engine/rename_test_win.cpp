// What only Windows has: names it would change, case-only renames, paths beyond MAX_PATH,
// files held open by other programs, and its own regional settings.
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/platform/journal_files.h"
#include "engine/platform/wide_win.h"
#include "tests/engine/rename_fixture.h"

using engine::TRenameMode;
using engine::TRenameStatus;
using rename_test::Entries;
using rename_test::FileRow;
using rename_test::FolderRow;
using rename_test::ReadFile;
using Names = std::vector<std::string>;

namespace {

class WindowsRename : public rename_test::TTempFolderTest {
protected:
    std::string ReasonOf(std::size_t row) const {
        const engine::TFolderEntry& entry = m_listing.Rows.at(row);
        return entry.Error == 0 ? "" : engine::RenameFailureText(entry.Error);
    }

    engine::TRenameSettings m_settings;
};

} // namespace

// The names Windows would change or misread (IsValidWindowsName holds the whole rule) fail
// their row before any system call, whichever setting makes them.
TEST_F(WindowsRename, NamesWindowsWouldChangeFailBeforeAnySystemCall) {
    const struct {
        const char* oldName;
        engine::TRenameSettings settings;
    } rows[] = {
        {"CONx", {.DeleteStart = "4", .DeleteCount = "1", .Mode = TRenameMode::rmDelete}},
        {"end.x", {.DeleteStart = "5", .DeleteCount = "1", .Mode = TRenameMode::rmDelete}},
        {"end x", {.DeleteStart = "5", .DeleteCount = "1", .Mode = TRenameMode::rmDelete}},
        {"a", {.LeadText = "?"}},
        {"a", {.LeadText = "\x1f"}},
    };
    for (const auto& r : rows) {
        MakeFile(r.oldName, r.oldName);
        m_listing.Rows = {FileRow(r.oldName, "")};
        engine::ApplyRenames(m_listing, r.settings, Journaled());
        SCOPED_TRACE(std::string(r.oldName) + " -> " + m_listing.Rows[0].NewName);
        EXPECT_EQ(ReasonOf(0), "文件名无效");
        EXPECT_EQ(ReadFile(At(r.oldName)), r.oldName);
    }
    EXPECT_EQ(Entries(m_root), (Names{"CONx", "a", "end x", "end.x"}));
}

TEST_F(WindowsRename, AFileHeldOpenFailsItsRowAndTheBatchGoesOn) {
    MakeFile("held.txt", "held");
    MakeFile("free.txt", "free");
    const HANDLE held =
        ::CreateFileW(engine::platform::SystemPath(At("held.txt")).c_str(), GENERIC_READ,
                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    m_listing.Rows = {FileRow("free.txt", ".txt"), FileRow("held.txt", ".txt")};
    engine::ApplyRenames(m_listing, m_settings, Journaled());
    ::CloseHandle(held);
    EXPECT_EQ(m_listing.Rows[0].Status, TRenameStatus::Renamed);
    EXPECT_EQ(ReasonOf(1), "文件正在使用");
    EXPECT_EQ(Entries(m_root), (Names{"A-0001 free.txt", "held.txt"}));
    EXPECT_EQ(ReadFile(At("held.txt")), "held");
}

TEST_F(WindowsRename, AFolderPathBeyondMaxPathListsAndRenames) {
    std::string deep = m_root;
    while (deep.size() <= 300)
        deep += "\\" + std::string(40, 'd');
    ASSERT_EQ(engine::platform::MakeFolderPath(deep), 0);
    {
        engine::platform::TJournalFile file;
        ASSERT_EQ(file.Create(deep, "a.txt"), 0);
        ASSERT_EQ(file.Append("deep"), 0);
    }

    engine::TFolderListing listing;
    engine::ListFolder(listing, deep, engine::TFormatSettings{});
    EXPECT_EQ(listing.CurrentFolder, deep + "\\");
    ASSERT_EQ(listing.Rows.size(), 1u);
    EXPECT_FALSE(listing.Rows[0].ModifiedText.empty());
    engine::ApplyRenames(listing, m_settings, Journaled());
    EXPECT_EQ(listing.Rows[0].Status, TRenameStatus::Renamed)
        << engine::RenameFailureText(listing.Rows[0].Error);
    engine::ListFolder(listing, deep, engine::TFormatSettings{});
    ASSERT_EQ(listing.Rows.size(), 1u);
    EXPECT_EQ(listing.Rows[0].OldName, "A-0001 a.txt");
    // The standard library can't remove what lies beyond MAX_PATH.
    ::DeleteFileW(engine::platform::SystemPath(deep + "\\A-0001 a.txt").c_str());
    for (; deep.size() > m_root.size(); deep.resize(deep.rfind('\\')))
        ::RemoveDirectoryW(engine::platform::SystemPath(deep).c_str());
}

TEST(WindowsPaths, CurrentFolderEndsInABackslashAndRootsStayRoots) {
    engine::TFolderListing listing;
    engine::ListFolder(listing, "C:\\", engine::TFormatSettings{});
    EXPECT_EQ(listing.CurrentFolder, "C:\\");
    EXPECT_FALSE(listing.Rows.empty());
    for (const engine::TFolderEntry& row : listing.Rows)
        EXPECT_TRUE(row.OldName != "." && row.OldName != "..");
    engine::ListFolder(listing, "C:\\windows", engine::TFormatSettings{});
    EXPECT_EQ(listing.CurrentFolder, "C:\\windows\\");
    EXPECT_EQ(engine::platform::SystemPath("C:/a/./b/../c.txt"), L"\\\\?\\C:\\a\\c.txt");
    EXPECT_EQ(engine::platform::SystemPath("C:\\..\\x\\"), L"\\\\?\\C:\\x\\");
    EXPECT_EQ(engine::platform::SystemPath("\\\\server\\share\\..\\x"),
              L"\\\\?\\UNC\\server\\share\\x");
    const std::string journals = engine::DefaultJournalFolder();
    EXPECT_NE(journals.find(":\\"), std::string::npos) << journals;
    EXPECT_TRUE(journals.ends_with("\\Zelvora")) << journals;
}

// Run by ctest under Wine once per locale (LANG), each time with ZELVORA_LOCALE naming it.
TEST(SystemRegionalSettings, GiveTheLocalesModificationTexts) {
    const char* locale = std::getenv("ZELVORA_LOCALE");
    if (!locale) GTEST_SKIP() << "run once per locale by ctest";
    const std::optional<engine::TFormatSettings> settings = engine::SystemFormatSettings();
    ASSERT_TRUE(settings.has_value());
    const engine::TDateTime afternoon{2011, 3, 7, 14, 5, 9, 0, 1};
    const std::string want =
        std::string(locale) == "zh-CN" ? "2011/3/7 14:05:09" : "3/7/2011 2:05:09 PM";
    EXPECT_EQ(engine::ModificationText(afternoon, *settings), want);
}

TEST_F(WindowsRename, TheFolderOfARunningBatchCanNotBeMovedAway) {
    MakeFile("a", "a");
    MakeFile("b", "b");
    m_listing.Rows = {FileRow("a", ""), FileRow("b", "")};
    const std::wstring folder = engine::platform::SystemPath(m_root);
    const std::wstring moved = engine::platform::SystemPath(m_root + "-moved");
    BOOL movedAway = TRUE;
    engine::TBatchControl control = Journaled();
    control.Progress = [&](std::size_t done, std::size_t) {
        if (done == 1) movedAway = ::MoveFileExW(folder.c_str(), moved.c_str(), 0);
    };
    engine::ApplyRenames(m_listing, m_settings, control);
    EXPECT_FALSE(movedAway);
    EXPECT_EQ(Entries(m_root), (Names{"A-0001 a", "A-0002 b"}));
}

// Another program holds the folder with delete access, so the batch must share delete too and
// the folder can be swapped mid-batch: the rest of the batch then renames nothing anywhere.
TEST_F(WindowsRename, AFolderSwappedMidBatchNeverReceivesItsRenames) {
    Names olds;
    for (int i = 0; i < 20; ++i) {
        olds.push_back("f" + std::to_string(100 + i));
        MakeFile(olds.back(), olds.back());
    }
    const std::wstring folder = engine::platform::SystemPath(m_root);
    const std::wstring moved = engine::platform::SystemPath(m_root + "-moved");
    const HANDLE other = ::CreateFileW(folder.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    engine::ListFolder(m_listing, m_root, engine::TFormatSettings{});
    BOOL swapped = FALSE;
    engine::TBatchControl control = Journaled();
    control.Progress = [&](std::size_t done, std::size_t) {
        if (done != 10) return;
        swapped = ::MoveFileExW(folder.c_str(), moved.c_str(), 0);
        MakeFolder("");
        for (const std::string& name : olds)
            MakeFile(name, "impostor");
    };
    engine::ApplyRenames(m_listing, m_settings, control);
    ::CloseHandle(other);
    ASSERT_TRUE(swapped);
    EXPECT_EQ(Entries(m_root), olds);
    for (const std::string& name : olds)
        EXPECT_EQ(ReadFile(At(name)), "impostor");
    Names inMoved(olds.begin() + 10, olds.end());
    for (std::size_t i = 0; i < 10; ++i)
        inMoved.insert(inMoved.begin() + static_cast<std::ptrdiff_t>(i), m_listing.Rows[i].NewName);
    EXPECT_EQ(Entries(m_root + "-moved"), inMoved);
    for (std::size_t i = 10; i < olds.size(); ++i)
        EXPECT_EQ(ReasonOf(i), "文件夹已被移走或换掉");
    std::filesystem::remove_all(test_paths::PathOf(m_root + "-moved"));
}

// A program makes each new name the moment it is free, so the second step of a case-only
// rename finds it taken and the way back too: the entry waits at its stop-over name, its row
// says so, and the undo brings it back once the name is free.
TEST_F(WindowsRename, ACaseOnlyRenameRacedByACreatorLeavesNothingAtAStopOver) {
    Names olds;
    for (int i = 0; i < 20; ++i) {
        olds.push_back("f" + std::to_string(100 + i) + ".txt");
        MakeFile(olds.back(), olds.back());
    }
    const std::string journals = m_root + "-state";
    engine::ListFolder(m_listing, m_root, engine::TFormatSettings{});
    m_settings.Mode = TRenameMode::rmReplace; // "f100.txt" -> "F100.txt" ...
    m_settings.LeadText = "F";
    m_settings.StartNumber = "100";
    m_settings.Digits = "3";
    m_settings.TrailText = "";
    std::atomic<bool> done = false;
    std::thread creator([&] {
        while (!done)
            for (const std::string& name : olds)
                ::CloseHandle(
                    ::CreateFileW(engine::platform::SystemPath(At("F" + name.substr(1))).c_str(),
                                  GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    });
    engine::ApplyRenames(m_listing, m_settings, {{}, {}, journals});
    done = true;
    creator.join();
    for (std::size_t i = 0; i < m_listing.Rows.size(); ++i) {
        if (m_listing.Rows[i].Status != TRenameStatus::Failed) continue;
        EXPECT_TRUE(ReasonOf(i) == "停在临时名称上，可以撤销" || ReasonOf(i) == "目标已存在");
    }
    for (const std::string& name : Entries(m_root)) // the creator's files go
        if (ReadFile(At(name)).empty()) std::filesystem::remove(test_paths::PathOf(At(name)));
    const auto all = engine::ReadJournals(journals);
    const auto journal = engine::LastUndoableBatch(all);
    if (journal) engine::UndoBatch(journals, journal->Name);
    EXPECT_EQ(Entries(m_root), olds);
    std::filesystem::remove_all(test_paths::PathOf(journals));
}
