// Renames on file systems without RENAME_NOREPLACE, imitated through the platform's seams. The
// FUSE mounts of RealMount (exFAT, NTFS, sshfs) answer the flag with EINVAL: there the batch and
// its undo rename through the same fallback for real, with links and without.
#include <algorithm>
#include <cerrno>
#include <stop_token>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/platform/rename_folder_linux.h"
#include "tests/engine/rename_fixture.h"

namespace platform = engine::platform;
using rename_test::Entries;
using rename_test::fs::exists;
using Names = std::vector<std::string>;

namespace {

int g_noReplaceCalls = 0;

int RenameAt2WithoutNoReplace(int oldDir, const char* oldPath, int newDir, const char* newPath,
                              unsigned flags) {
    if (flags & RENAME_NOREPLACE) {
        ++g_noReplaceCalls;
        errno = EINVAL;
        return -1;
    }
    return ::renameat2(oldDir, oldPath, newDir, newPath, flags);
}

// The real call, counting how often the no-replace flag is asked for.
int RenameAt2Counted(int oldDir, const char* oldPath, int newDir, const char* newPath,
                     unsigned flags) {
    if (flags & RENAME_NOREPLACE) ++g_noReplaceCalls;
    return ::renameat2(oldDir, oldPath, newDir, newPath, flags);
}

int SymlinkAtRefused(const char*, int, const char*) {
    errno = EPERM;
    return -1;
}

// A crash between a placeholder and the rename onto it: the fallback's plain rename never
// comes back.
struct TCrash {};
int RenameAt2CrashingOnTheFallback(int oldDir, const char* oldPath, int newDir, const char* newPath,
                                   unsigned flags) {
    if (flags == 0) throw TCrash{};
    return RenameAt2WithoutNoReplace(oldDir, oldPath, newDir, newPath, flags);
}

// Swaps the platform's calls for one test and puts the real ones back afterwards.
struct TSeams {
    TSeams(platform::TRenameAt2Call renameAt2, platform::TSymlinkAtCall symlinkAt) {
        platform::g_renameAt2 = renameAt2;
        platform::g_symlinkAt = symlinkAt;
        g_noReplaceCalls = 0;
    }
    ~TSeams() {
        platform::g_renameAt2 = ::renameat2;
        platform::g_symlinkAt = ::symlinkat;
    }
};

enum class TKind { None, File, Folder, EmptyFolder };

void Make(const std::string& path, TKind kind, const std::string& tag) {
    if (kind == TKind::File) rename_test::WriteFile(path, tag);
    if (kind == TKind::Folder || kind == TKind::EmptyFolder)
        rename_test::fs::create_directory(path);
    if (kind == TKind::Folder) rename_test::WriteFile(path + "/inner", tag);
}

// What stands at `path`, with its content, so a test can see that nothing was replaced.
std::string Describe(const std::string& path) {
    if (!exists(path)) return "nothing";
    if (!rename_test::fs::is_directory(path)) return "file " + rename_test::ReadFile(path);
    std::string text = "folder";
    for (const std::string& name : Entries(path))
        text += " " + name + "=" + rename_test::ReadFile(path + "/" + name);
    return text;
}

// Renames to `leadText` + the bare number + the old name: "s" -> "1s".
engine::TRenameSettings NumberFirst(const char* leadText) {
    engine::TRenameSettings settings;
    settings.LeadText = leadText;
    settings.TrailText = "";
    settings.Digits = "0";
    return settings;
}

struct TCase {
    const char* name;
    TKind source, target;
    const char* leadText; // the new name is leadText + "1s"
    int error;            // 0: renamed
};

const TCase kCases[] = {
    {"file to a free name", TKind::File, TKind::None, "", 0},
    {"folder to a free name", TKind::Folder, TKind::None, "", 0},
    {"file onto a file", TKind::File, TKind::File, "", EEXIST},
    {"file onto a folder", TKind::File, TKind::Folder, "", EEXIST},
    {"file onto an empty folder", TKind::File, TKind::EmptyFolder, "", EEXIST},
    {"folder onto a file", TKind::Folder, TKind::File, "", EEXIST},
    {"folder onto a folder", TKind::Folder, TKind::Folder, "", EEXIST},
    {"folder onto an empty folder", TKind::Folder, TKind::EmptyFolder, "", EEXIST},
    {"file into a missing folder", TKind::File, TKind::None, "no/", ENOENT},
    {"folder into itself", TKind::Folder, TKind::None, "s/", EINVAL},
};

// Renames "s" to leadText + "1s" inside `folder` (ending in "/") through ApplyRenames.
void RunCase(const std::string& folder, const TCase& c) {
    SCOPED_TRACE(c.name);
    const std::string source = folder + "s", target = folder + c.leadText + "1s";
    Make(source, c.source, "source");
    Make(target, c.target, "target");
    const std::string sourceBefore = Describe(source), targetBefore = Describe(target);
    const Names entriesBefore = Entries(folder);

    engine::TFolderListing listing{folder, {}};
    listing.Rows.push_back(c.source == TKind::File ? rename_test::FileRow("s", "")
                                                   : rename_test::FolderRow("s"));
    const engine::TRenameSettings settings = NumberFirst(c.leadText);
    const std::string journals = folder.substr(0, folder.size() - 1) + " journals";
    engine::ApplyRenames(listing, settings, {.JournalFolder = journals});
    rename_test::fs::remove_all(journals);

    const engine::TFolderEntry& row = listing.Rows[0];
    EXPECT_EQ(row.Error, c.error);
    if (c.error == 0) {
        EXPECT_EQ(row.Status, engine::TRenameStatus::Renamed);
        EXPECT_EQ(Describe(target), sourceBefore);
        EXPECT_FALSE(exists(source));
    } else {
        EXPECT_EQ(row.Status, engine::TRenameStatus::Failed);
        if (c.error == EEXIST) {
            EXPECT_EQ(engine::RenameFailureText(row.Error), "目标已存在");
        }
        EXPECT_EQ(Describe(target), targetBefore);
        EXPECT_EQ(Describe(source), sourceBefore);
        EXPECT_EQ(Entries(folder), entriesBefore); // no placeholder left behind
    }
    rename_test::fs::remove_all(source);
    rename_test::fs::remove_all(folder + "1s");
}

// Every entry of `folder` by name, with what stands there.
std::vector<std::string> DescribeAll(const std::string& folder) {
    Names described;
    for (const std::string& name : Entries(folder))
        described.push_back(name + ": " + Describe(folder + name));
    return described;
}

using RenameFallback = rename_test::TTempFolderTest;

} // namespace

// Files are reserved with links, or with empty files where links are refused; folders with
// folders.
TEST_F(RenameFallback, ReservesWithLinksOrEmptyFilesAndFoldersWithFolders) {
    for (const platform::TSymlinkAtCall symlinkAt :
         {platform::TSymlinkAtCall{::symlinkat}, platform::TSymlinkAtCall{SymlinkAtRefused}}) {
        const TSeams seams(RenameAt2WithoutNoReplace, symlinkAt);
        for (const TCase& c : kCases)
            RunCase(m_listing.CurrentFolder, c);
        EXPECT_EQ(g_noReplaceCalls, static_cast<int>(std::size(kCases)));
    }
}

// One folder object per batch and per undo: the flag, once refused, is not asked for again,
// and the rows after it still never replace.
TEST_F(RenameFallback, AsksForTheFlagOncePerBatchAndUndo) {
    const struct {
        const char* name;
        platform::TSymlinkAtCall symlinkAt;
    } seams[] = {{"links", ::symlinkat}, {"links refused", SymlinkAtRefused}};
    for (const auto& seam : seams) {
        SCOPED_TRACE(seam.name);
        const TSeams swapped(RenameAt2WithoutNoReplace, seam.symlinkAt);
        const std::string data = At(std::string(seam.name) + "/");
        rename_test::fs::create_directory(data);
        Make(data + "a", TKind::File, "a");
        Make(data + "d", TKind::Folder, "d");
        Make(data + "b", TKind::File, "b");
        Make(data + "f", TKind::Folder, "f");
        Make(data + "c", TKind::File, "c");
        Make(data + "3b", TKind::File, "taken");
        Make(data + "4f", TKind::EmptyFolder, "");
        const Names before = DescribeAll(data);

        engine::TFolderListing listing{data, {}};
        listing.Rows = {rename_test::FileRow("a", ""), rename_test::FolderRow("d"),
                        rename_test::FileRow("b", ""), rename_test::FolderRow("f"),
                        rename_test::FileRow("c", "")};
        engine::TBatchControl control;
        control.JournalFolder = At("journals");
        engine::ApplyRenames(listing, NumberFirst(""), control);

        EXPECT_EQ(g_noReplaceCalls, 1);
        std::vector<int> errors;
        for (const engine::TFolderEntry& row : listing.Rows)
            errors.push_back(row.Error);
        EXPECT_EQ(errors, (std::vector<int>{0, 0, EEXIST, EEXIST, 0}));
        EXPECT_EQ(DescribeAll(data),
                  (Names{"1a: file a", "2d: folder inner=d", "3b: file taken", "4f: folder",
                         "5c: file c", "b: file b", "f: folder inner=f"}));

        const auto journals = engine::ReadJournals(control.JournalFolder);
        const engine::TUndoResult undone =
            engine::UndoBatch(control.JournalFolder, engine::LastUndoableBatch(journals)->Name);
        EXPECT_EQ(g_noReplaceCalls, 2);
        EXPECT_EQ(undone.Rows.size(), 3u);
        EXPECT_EQ(DescribeAll(data), before);
    }
}

// A folder moved into itself is refused with EINVAL too, on file systems that have the flag:
// that answer alone must not stop the next rows asking for it.
TEST_F(RenameFallback, AsksAgainAfterAFolderMovedIntoItself) {
    const TSeams seams(RenameAt2Counted, ::symlinkat);
    Make(At("s"), TKind::Folder, "s");
    Make(At("t"), TKind::File, "t");
    m_listing.Rows = {rename_test::FolderRow("s"), rename_test::FileRow("t", "")};
    engine::ApplyRenames(m_listing, NumberFirst("s/"), Journaled());
    EXPECT_EQ(m_listing.Rows[0].Error, EINVAL);
    EXPECT_EQ(m_listing.Rows[1].Error, 0);
    EXPECT_EQ(DescribeAll(At("s/")), (Names{"2t: file t", "inner: file s"}));
    EXPECT_EQ(g_noReplaceCalls, 2);
}

// Where the flag is refused a thread looks the coming rows up ahead of the renames, and waits
// when it is far enough ahead: a batch stopped early must still end, the rows after it
// untouched.
TEST_F(RenameFallback, AStoppedBatchEndsItsLookAhead) {
    const TSeams seams(RenameAt2WithoutNoReplace, ::symlinkat);
    Names expected;
    for (int i = 0; i < 20; ++i) {
        const std::string name = "f" + std::to_string(i);
        MakeFile(name, name);
        m_listing.Rows.push_back(rename_test::FileRow(name, ""));
        expected.push_back(i < 2 ? "A-000" + std::to_string(i + 1) + " " + name : name);
    }
    std::stop_source stop;
    engine::TBatchControl control = Journaled();
    control.Stop = stop.get_token();
    control.Progress = [&](std::size_t done, std::size_t) {
        if (done == 2) stop.request_stop();
    };
    engine::ApplyRenames(m_listing, engine::TRenameSettings(), control);
    EXPECT_EQ(m_listing.Rows[1].Status, engine::TRenameStatus::Renamed);
    EXPECT_EQ(m_listing.Rows[2].Status, engine::TRenameStatus::NotRun);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(m_listing.CurrentFolder), expected);
}

// The old name is never unlinked: a file another program saves there while the entry moves
// (written apart, then renamed over the old name) is never deleted.
TEST_F(RenameFallback, AFileSavedAtTheOldNameMeanwhileSurvives) {
    static std::string s_folder;
    s_folder = m_listing.CurrentFolder;
    const TSeams seams(RenameAt2WithoutNoReplace, [](const char* target, int dir, const char* at) {
        const int made = ::symlinkat(target, dir, at);
        rename_test::WriteFile(s_folder + "saving", "saved meanwhile");
        ::renameat(dir, "saving", dir, "a");
        return made;
    });
    MakeFile("a", "a");
    m_listing.Rows = {rename_test::FileRow("a", "")};
    engine::ApplyRenames(m_listing, engine::TRenameSettings(), Journaled());
    EXPECT_EQ(m_listing.Rows[0].Error, 0);
    EXPECT_EQ(DescribeAll(m_listing.CurrentFolder), (Names{"A-0001 a: file saved meanwhile"}));
}

// A crash between the placeholder and the rename onto it leaves the placeholder and an open
// journal: the recovery counts only the rows renamed, and its undo or keeping the journal
// clears the placeholder away.
TEST_F(RenameFallback, APlaceholderACrashLeftIsClearedAway) {
    for (const platform::TSymlinkAtCall symlinkAt :
         {platform::TSymlinkAtCall{::symlinkat}, platform::TSymlinkAtCall{SymlinkAtRefused}}) {
        for (const bool undo : {true, false}) {
            SCOPED_TRACE(std::string(symlinkAt == &SymlinkAtRefused ? "no links" : "links") +
                         (undo ? ", undone" : ", kept"));
            const std::string data = At("data/"), journals = At("journals");
            rename_test::fs::create_directory(data);
            Make(data + "a", TKind::File, "a");
            Make(data + "b", TKind::File, "b");
            engine::TFolderListing listing;
            engine::ListFolder(listing, data, engine::TFormatSettings{});
            engine::TBatchControl control;
            control.JournalFolder = journals;
            {
                const TSeams seams(RenameAt2WithoutNoReplace, symlinkAt);
                engine::ApplyRenames(listing, engine::TRenameSettings(), control);
            }
            engine::ListFolder(listing, data, engine::TFormatSettings{}); // A-0001 a, A-0002 b
            engine::TRenameSettings second;
            second.LeadText = "B-";
            {
                const TSeams seams(RenameAt2CrashingOnTheFallback, symlinkAt);
                EXPECT_THROW(engine::ApplyRenames(listing, second, control), TCrash);
            }
            EXPECT_EQ(DescribeAll(data).size(), 3u) << "the placeholder is there";
            const std::string name = engine::ReadJournals(journals).back().Name;
            EXPECT_EQ(engine::CountRenamedRows(journals, name), 0u);
            if (undo)
                EXPECT_TRUE(engine::UndoBatch(journals, name).Rows.empty());
            else
                engine::KeepJournal(journals, name);
            EXPECT_EQ(DescribeAll(data), (Names{"A-0001 a: file a", "A-0002 b: file b"}));
            rename_test::fs::remove_all(data);
            rename_test::fs::remove_all(journals);
        }
    }
}

TEST_F(RenameFallback, OpenFolderFailureFailsEveryRow) {
    m_listing.CurrentFolder = m_root + "/missing/";
    m_listing.Rows = {rename_test::FileRow("a", ""), rename_test::FileRow("b", "")};
    engine::ApplyRenames(m_listing, engine::TRenameSettings(), Journaled());
    EXPECT_EQ(m_listing.Rows[0].Error, ENOENT);
    EXPECT_EQ(m_listing.Rows[1].Error, ENOENT);
    EXPECT_EQ(m_listing.Rows[1].NewName, "A-0002 b");
}
