// The listing on real folders, on every platform.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/engine/listed_rows.h"
#include "tests/engine/temp_folder.h"

namespace {

using test_paths::Sep;
using testing_tree::MakeFolder;
using testing_tree::WriteFile;

class ListFolder : public testing_tree::TTempFolderTest {
protected:
    engine::TFolderListing List(const std::string& path) const {
        engine::TFolderListing listing;
        engine::ListFolder(listing, path, engine::TFormatSettings{});
        return listing;
    }
};

// A listing as an earlier selection left it, with a new name already written.
engine::TFolderListing Earlier() {
    engine::TFolderListing listing;
    listing.CurrentFolder = "/before/";
    listing.Rows.emplace_back().OldName = "keep";
    listing.Rows.back().NewName = "new";
    return listing;
}

} // namespace

TEST_F(ListFolder, GivesEveryEntryButDotsInNaturalOrderWithItsKind) {
    for (const char* name :
         {"b10.txt", "b2.txt", "A.txt", ".hidden", "README", "\xe7\x85\xa7\xe7\x89\x87.jpg"})
        WriteFile(root + "/" + name, "x");
    MakeFolder(root + "/photos.2011");
    MakeFolder(root + "/.config");
    const listed_rows::TWant want[] = {
        {".config", "文件夹", true}, {".hidden", ".hidden", false},
        {"A.txt", ".txt", false},    {"b2.txt", ".txt", false},
        {"b10.txt", ".txt", false},  {"photos.2011", "文件夹", true},
        {"README", "", false},       {"\xe7\x85\xa7\xe7\x89\x87.jpg", ".jpg", false},
    };
    for (const std::string& path : {root, root + Sep}) { // one trailing separator either way
        SCOPED_TRACE(path);
        const engine::TFolderListing listing = List(path);
        EXPECT_EQ(listing.CurrentFolder, root + Sep);
        listed_rows::ExpectRows(listing, want);
        EXPECT_NE(listing.Inode, 0u) << "the folder's identity is known";
    }
}

TEST(FileExtension, FromTheLastDot) {
    const struct {
        const char* name;
        const char* want;
    } rows[] = {
        {"report.final.doc", ".doc"}, {"README", ""},
        {".profile", ".profile"},     {"notes.", "."},
        {"a.tar.gz", ".gz"},          {"名字.文本", ".文本"},
        {"bad\xff.t\xfe", ".t\xfe"},  {"", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(engine::FileExtension(r.name), r.want);
    }
}

TEST_F(ListFolder, OtherTextsChangeNothing) {
    // Virtual items, relative paths, and on Windows a path without ":\" (a network path).
    std::vector<std::string> paths{"", "tmp", "计算机", "./", "~/x"};
    if (test_paths::OnWindows()) paths.insert(paths.end(), {"/tmp", "\\\\server\\share", "C:"});
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        engine::TFolderListing listing = Earlier();
        engine::ListFolder(listing, path, engine::TFormatSettings{});
        EXPECT_EQ(listing.CurrentFolder, "/before/");
        ASSERT_EQ(listing.Rows.size(), 1u);
        EXPECT_EQ(listing.Rows[0].NewName, "new");
    }
}

TEST_F(ListFolder, MissingOrEmptyFolderListsAsEmpty) {
    MakeFolder(root + "/empty");
    for (const std::string& path :
         {root + Sep + "empty", root + Sep + "missing", root + Sep + "empty" + Sep + "x"}) {
        SCOPED_TRACE(path);
        engine::TFolderListing listing = Earlier();
        engine::ListFolder(listing, path, engine::TFormatSettings{});
        EXPECT_EQ(listing.CurrentFolder, path + Sep);
        EXPECT_TRUE(listing.Rows.empty());
    }
}

// A probe tells a folder, and why another path is none; the working folder is the process's.
TEST_F(ListFolder, ProbesFoldersAndKnowsTheWorkingFolder) {
    WriteFile(root + "/file.txt", "x");
    EXPECT_TRUE(engine::ProbeFolder(root).IsFolder);
    const engine::TFolderProbe file = engine::ProbeFolder(root + "/file.txt");
    EXPECT_FALSE(file.IsFolder);
    EXPECT_NE(file.Error, 0);
    EXPECT_EQ(engine::RenameFailureText(engine::ProbeFolder(root + "/missing").Error),
              "找不到文件或文件夹");
    EXPECT_EQ(engine::CurrentFolderPath(), test_paths::BytesOf(std::filesystem::current_path()));
}

// Run by ctest in a zone with daylight saving (ZELVORA_ZONE names it): each time is shown with
// the offset at its own date, not today's.
TEST_F(ListFolder, ModifiedTextUsesTheOffsetAtTheFilesOwnDate) {
    if (!std::getenv("ZELVORA_ZONE")) GTEST_SKIP() << "run in a zone with daylight saving by ctest";
    const struct {
        const char* name;
        std::int64_t utc;
        const char* want;
    } rows[] = {
        {"a winter", 1295085600, "2011-01-15 11:00:00"},          // 10:00 UTC
        {"b summer", 1310724000, "2011-07-15 12:00:00"},          // 10:00 UTC
        {"c odd second kept", 1299503109, "2011-03-07 14:05:09"}, // 13:05:09 UTC
        {"d midnight", 1299452400, "2011-03-07"},                 // 23:00 UTC the day before
        {"e one second past", 1299452401, "2011-03-07 00:00:01"},
    };
    for (const auto& r : rows) {
        WriteFile(root + "/" + r.name, "x");
        const std::chrono::sys_seconds utc{std::chrono::seconds{r.utc}};
        std::filesystem::last_write_time(test_paths::PathOf(root + "/" + r.name),
                                         std::chrono::file_clock::from_sys(utc));
    }
    engine::TFormatSettings settings;
    settings.ShortDatePattern = "yyyy-mm-dd";
    settings.LongTimePattern = "hh:nn:ss";
    engine::TFolderListing listing;
    engine::ListFolder(listing, root, settings);
    ASSERT_EQ(listing.Rows.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(listing.Rows[i].ModifiedText, rows[i].want) << rows[i].name;
}
