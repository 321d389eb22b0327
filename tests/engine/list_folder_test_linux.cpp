// What the listing does with what only POSIX has: links, fifos, names that are no UTF-8,
// the TZ variable, times beyond any calendar.
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/platform/platform.h"
#include "tests/engine/listed_rows.h"
#include "tests/engine/temp_folder.h"

namespace {

class ListFolderTest : public testing_tree::TTempFolderTest {
protected:
    std::string PathOf(const std::string& name) const { return root + "/" + name; }
    void MakeFile(const std::string& name) const { testing_tree::WriteFile(PathOf(name), ""); }
    void MakeFolder(const std::string& name) const { testing_tree::MakeFolder(PathOf(name)); }
    void MakeLink(const std::string& name, const std::string& target) const {
        ASSERT_EQ(::symlink(target.c_str(), PathOf(name).c_str()), 0) << name;
    }
    // Sets the entry's own modification time to `utc` (seconds since the epoch).
    void SetModified(const std::string& name, std::time_t utc) const {
        const timespec times[2] = {{utc, 0}, {utc, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, PathOf(name).c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    engine::TFolderListing List() const {
        engine::TFolderListing listing;
        engine::ListFolder(listing, root, m_settings);
        return listing;
    }

    engine::TFormatSettings m_settings;
};

// Sets TZ for the test process and puts the old value back afterwards.
class TScopedTimeZone {
public:
    explicit TScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TScopedTimeZone() {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_old;
};

std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return ::timegm(&fields);
}

} // namespace

// What only POSIX lists (ListFolder.GivesEveryEntryButDotsInNaturalOrderWithItsKind has the
// rest): a link is listed as itself, a file even where it names a folder or nothing; a fifo is a
// file; a name that is no UTF-8 keeps its bytes.
TEST_F(ListFolderTest, ListsLinksFifosAndRawNamesAsFiles) {
    MakeFile("bad\xff.txt");
    MakeFile("notes.");
    MakeFolder("photos.2011");
    MakeLink("to-folder", "photos.2011");
    MakeLink("dangling.lnk", "nowhere");
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0644), 0);
    const listed_rows::TWant want[] = {
        {"bad\xff.txt", ".txt", false},
        {"dangling.lnk", ".lnk", false},
        {"notes.", ".", false},
        {"photos.2011", "文件夹", true},
        {"pipe", "", false},
        {"to-folder", "", false},
    };
    listed_rows::ExpectRows(List(), want);
}

TEST(ListFolderRoot, KeepsItsOneSlash) {
    engine::TFolderListing top;
    engine::ListFolder(top, "/", {});
    EXPECT_EQ(top.CurrentFolder, "/");
}

TEST_F(ListFolderTest, UnreadableFolderListsAsEmpty) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    MakeFile("a");
    ASSERT_EQ(::chmod(root.c_str(), 0), 0);
    const engine::TFolderListing listing = List();
    EXPECT_EQ(listing.CurrentFolder, root + "/");
    EXPECT_TRUE(listing.Rows.empty());
}

// Beyond ListFolder.ModifiedTextUsesTheOffsetAtTheFilesOwnDate: times before 1970 and after
// 2107, and a link's own time, not its target's.
TEST_F(ListFolderTest, ModifiedTextOfFarTimesAndOfLinks) {
    TScopedTimeZone utc("UTC0");
    m_settings.ShortDatePattern = "yyyy-mm-dd";
    m_settings.LongTimePattern = "hh:nn:ss";
    MakeFile("a before 1970");
    SetModified("a before 1970", Utc(1969, 7, 20, 20, 17, 40));
    MakeFile("b after 2107");
    SetModified("b after 2107", Utc(2150, 1, 1, 11, 0, 0));
    MakeLink("c link", "a before 1970");
    SetModified("c link", Utc(2011, 1, 1, 1, 0, 0));
    const engine::TFolderListing listing = List();
    ASSERT_EQ(listing.Rows.size(), 3u);
    EXPECT_EQ(listing.Rows[0].ModifiedText, "1969-07-20 20:17:40");
    EXPECT_EQ(listing.Rows[1].ModifiedText, "2150-01-01 11:00:00");
    EXPECT_EQ(listing.Rows[2].ModifiedText, "2011-01-01 01:00:00") << "the link's own time";
}

// tm_year of this time is INT_MAX in UTC: the calendar year does not fit an int.
constexpr std::int64_t YearBeyondInt = 67768036160140800;

TEST(LocalTime, ATimeWhoseYearDoesNotFitIsRefused) {
    TScopedTimeZone utc("UTC0");
    engine::TDateTime when;
    EXPECT_FALSE(engine::platform::LocalTime(YearBeyondInt, when));
    ASSERT_TRUE(engine::platform::LocalTime(0, when));
    EXPECT_EQ(when.Year, 1970);
}

TEST_F(ListFolderTest, AFarFileDateShowsAnEmptyModifiedText) {
    TScopedTimeZone utc("UTC0");
    // tmpfs keeps any 64-bit time; ext4 would clamp it.
    char pattern[] = "/dev/shm/zelvora-far-date-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) GTEST_SKIP() << "no /dev/shm";
    const std::string saved = std::exchange(root, pattern);
    MakeFile("far");
    const timespec times[2] = {{YearBeyondInt, 0}, {YearBeyondInt, 0}};
    struct stat status {};
    const bool kept = ::utimensat(AT_FDCWD, PathOf("far").c_str(), times, 0) == 0 &&
                      ::stat(PathOf("far").c_str(), &status) == 0 &&
                      status.st_mtim.tv_sec == YearBeyondInt;
    const engine::TFolderListing listing = List();
    std::filesystem::remove_all(std::exchange(root, saved));
    if (!kept) GTEST_SKIP() << "the file system does not keep such a time";
    ASSERT_EQ(listing.Rows.size(), 1u);
    EXPECT_EQ(listing.Rows[0].ModifiedText, "");
}
