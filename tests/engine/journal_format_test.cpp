#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/journal.h"
#include "engine/platform/platform.h"
#include "tests/engine/child_process.h"
#include "tests/engine/test_paths.h"
#include "tests/engine/throw_message.h"

using engine::TJournalRow;
using namespace std::string_view_literals;

namespace {

engine::TJournalHead UndoHead() {
    return {.Kind = engine::TJournalKind::Undo,
            .Folder = "/tmp/a\nb/\xff/",
            .Volume = 123456789012345ULL,
            .FolderHandle = std::string("\x01\0\0\0\xff\x80", 6),
            .Undoes = "0000000007.journal"};
}

engine::TFileIdentity Handle(std::string bytes) {
    return {.Handle = std::move(bytes)};
}

engine::TFileIdentity Shape(std::uint64_t size, std::int64_t modified) {
    return {.Size = size, .Modified = modified, .HasShape = true};
}

// Names no text encoding would carry: not UTF-8, newlines, a record's own delimiters.
const std::vector<TJournalRow> kRows = {
    {"plain.txt", "A-0001 plain.txt", Handle(std::string("\x01\0\0\0\x0b\0", 6))},
    {"line\nbreak", "A-0002 line\nbreak", Shape(0, -1)},
    {"\xff\xfe\x80.bin", "A-0003 \xff\xfe\x80.bin", {}},
    {"12:colon,", "sub/x", Shape(18446744073709551615ULL, 1733650000123456789LL)},
};

} // namespace

// The checks of journals already written are zlib's CRC-32: any other sum would drop their rows.
TEST(JournalFormat, ChecksAreZlibsCrc32) {
    struct Row {
        const char* name;
        std::string_view bytes;
        std::uint32_t crc;
    };
    const Row rows[] = {
        {"empty", "", 0},
        {"one byte", "a", 0xe8b7be43u},
        {"check value", "123456789", 0xcbf43926u},
        {"several words and a tail", "The quick brown fox jumps over the lazy dog", 0x414fa339u},
        {"NUL and high bytes", "\xff\xfe\x80\x00\x01\x7f\xc3\xa9\xe4\xb8\xad"sv, 0xf1296d9eu},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(engine::Crc32(row.bytes), row.crc);
    }
    EXPECT_EQ(engine::Crc32("6789", engine::Crc32("12345")), 0xcbf43926u);
}

TEST(JournalFormat, RoundTripsHeadRowsOutcomesAndEnding) {
    std::string bytes = engine::EncodeJournalStart(UndoHead(), kRows);
    engine::EncodeOutcome(bytes, 0, engine::TOutcome::Renamed, 0);
    engine::EncodeOutcome(bytes, 2, engine::TOutcome::Failed, 17);
    bytes += engine::EncodeEnding(engine::TEnding::Done, 1);
    const engine::TJournal journal = engine::DecodeJournal(bytes);
    EXPECT_EQ(journal.Head.Kind, engine::TJournalKind::Undo);
    EXPECT_EQ(journal.Head.Folder, "/tmp/a\nb/\xff/");
    EXPECT_EQ(journal.Head.Volume, 123456789012345ULL);
    EXPECT_EQ(journal.Head.FolderHandle, UndoHead().FolderHandle);
    EXPECT_EQ(journal.Head.Undoes, "0000000007.journal");
    ASSERT_EQ(journal.Rows.size(), kRows.size());
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(journal.Rows[i].From, kRows[i].From);
        EXPECT_EQ(journal.Rows[i].To, kRows[i].To);
        EXPECT_EQ(journal.Rows[i].Identity, kRows[i].Identity);
    }
    EXPECT_EQ(journal.Rows[0].Outcome, engine::TOutcome::Renamed);
    EXPECT_EQ(journal.Rows[1].Outcome, engine::TOutcome::Unknown);
    EXPECT_EQ(journal.Rows[2].Outcome, engine::TOutcome::Failed);
    EXPECT_EQ(journal.Rows[2].Error, 17);
    EXPECT_EQ(journal.Ending.How, engine::TEnding::Done);
    EXPECT_EQ(journal.Ending.Renamed, 1u);
    EXPECT_EQ(engine::DecodeEnding(bytes.substr(bytes.size() - 30)).How, engine::TEnding::Done);
    EXPECT_EQ(engine::DecodeJournalHead(bytes)->Folder, "/tmp/a\nb/\xff/");
}

TEST(JournalFormat, ReadingStopsAtTheFirstBadRecordButFindsALaterEnding) {
    using enum engine::TOutcome;
    using enum engine::TEnding;
    const std::string start = engine::EncodeJournalStart({}, kRows);
    std::string first, second;
    engine::EncodeOutcome(first, 1, engine::TOutcome::Renamed, 0);
    engine::EncodeOutcome(second, 3, engine::TOutcome::Renamed, 0);
    std::string flipped = first;
    flipped[flipped.find("1:R") + 2] = 'F'; // the check no longer matches
    std::string unknownLetter;              // checked right, but no outcome the undo knows
    engine::EncodeOutcome(unknownLetter, 1, static_cast<engine::TOutcome>('X'), 0);
    struct Row {
        const char* name;
        std::string bytes;
        std::size_t rows;
        engine::TOutcome outcome1, outcome3;
        engine::TEnding ending;
    };
    const Row rows[] = {
        {"cut in the last outcome", start + first + second.substr(0, 5), 4, Renamed, Unknown, Open},
        {"cut outcome, then more", start + first.substr(0, 4) + second, 4, Unknown, Unknown, Open},
        {"flipped outcome, then more", start + flipped + second, 4, Unknown, Unknown, Open},
        {"unknown outcome, then more", start + unknownLetter + second, 4, Unknown, Unknown, Open},
        {"cut, then kept", start + second.substr(0, 6) + engine::EncodeEnding(Kept, 3), 4, Unknown,
         Unknown, Kept},
        {"ending cut", start + engine::EncodeEnding(Done, 0).substr(0, 5), 4, Unknown, Unknown,
         Open},
        {"rows cut", start.substr(0, start.rfind('\0') + 3) + first, 3, Unknown, Unknown, Open},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const engine::TJournal journal = engine::DecodeJournal(row.bytes);
        ASSERT_EQ(journal.Rows.size(), row.rows);
        EXPECT_EQ(journal.Rows[1].Outcome, row.outcome1);
        if (row.rows > 3) {
            EXPECT_EQ(journal.Rows[3].Outcome, row.outcome3);
        }
        EXPECT_EQ(journal.Ending.How, row.ending);
        EXPECT_EQ(engine::DecodeEnding(row.bytes).How, row.ending);
    }
}

TEST(JournalFormat, EveryFlippedBitOfARowDropsItAndTheRowsAfter) {
    const std::string start = engine::EncodeJournalStart({}, kRows);
    const std::size_t firstRow = start.find(std::string("\0R", 2));
    const std::size_t secondRow = start.find(std::string("\0R", 2), firstRow + 1);
    for (std::size_t at = firstRow; at < secondRow; ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string bytes = start;
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << bit));
            const engine::TJournal journal = engine::DecodeJournal(bytes);
            ASSERT_EQ(journal.Rows.size(), 0u) << at << ' ' << bit;
        }
    }
}

TEST(JournalFormat, UnreadableStartsAreRefused) {
    const std::string start = engine::EncodeJournalStart({}, kRows);
    std::string otherVersion = start;
    otherVersion.replace(otherVersion.find("1:3"), 3, "1:9");
    for (const std::string& bytes :
         {std::string(), std::string("garbage"), start.substr(0, 8), otherVersion}) {
        EXPECT_THROW_MSG(engine::DecodeJournal(bytes), engine::TError, "改名记录无法读取");
        EXPECT_FALSE(engine::DecodeJournalHead(bytes));
    }
}

TEST(JournalFormat, ANameHoldingNulIsWrittenEmptyAndKeepsTheRowsInStep) {
    const std::vector<TJournalRow> rows = {{"a", std::string("b\0c", 3)}, {"d", "e"}};
    std::string bytes = engine::EncodeJournalStart({}, rows);
    engine::EncodeOutcome(bytes, 1, engine::TOutcome::Renamed, 0);
    const engine::TJournal journal = engine::DecodeJournal(bytes);
    ASSERT_EQ(journal.Rows.size(), 2u);
    EXPECT_EQ(journal.Rows[0].To, "");
    EXPECT_EQ(journal.Rows[1].From, "d");
    EXPECT_EQ(journal.Rows[1].Outcome, engine::TOutcome::Renamed);
}

// An absolute XDG_STATE_HOME names the journal folder on every platform (tests under Wine give
// each run a folder of their own through it); a relative one is passed over.
TEST(JournalFolder, AnAbsoluteStateHomeNamesItOnEveryPlatform) {
    const bool windows = test_paths::OnWindows();
    const std::string saved = engine::platform::EnvironmentValue("XDG_STATE_HOME");
    const std::string savedHome = engine::platform::EnvironmentValue("HOME");
    test_child::SetEnvironment("HOME", "/home/u");
    test_child::SetEnvironment("XDG_STATE_HOME", windows ? "C:/state" : "/state");
    EXPECT_EQ(engine::DefaultJournalFolder(), windows ? "C:\\state\\zelvora" : "/state/zelvora");
    test_child::SetEnvironment("XDG_STATE_HOME", "state");
    const std::string system = engine::DefaultJournalFolder();
    EXPECT_TRUE(windows ? system.ends_with("\\Zelvora") : system == "/home/u/.local/state/zelvora")
        << system;
    test_child::SetEnvironment("XDG_STATE_HOME", saved);
    test_child::SetEnvironment("HOME", savedHome);
}
