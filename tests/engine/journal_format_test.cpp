#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/journal.h"
#include "tests/engine/throw_message.h"

using engine::TJournalRow;

namespace {

engine::TJournalHead UndoHead() {
    return {engine::TJournalKind::Undo, "/tmp/a\nb/\xff/", 2049, 123456789012345ULL,
            "0000000007.journal"};
}

// Names no text encoding would carry: not UTF-8, newlines, a record's own delimiters.
const std::vector<TJournalRow> kRows = {
    {"plain.txt", "A-0001 plain.txt"},
    {"line\nbreak", "A-0002 line\nbreak"},
    {"\xff\xfe\x80.bin", "A-0003 \xff\xfe\x80.bin"},
    {"12:colon,", "sub/x"},
};

} // namespace

TEST(JournalFormat, RoundTripsHeadRowsOutcomesAndEnding) {
    std::string bytes = engine::EncodeJournalStart(UndoHead(), kRows);
    engine::EncodeOutcome(bytes, 0, 'R', 0);
    engine::EncodeOutcome(bytes, 2, 'F', 17);
    bytes += engine::EncodeEnding("done");
    const engine::TJournal journal = engine::DecodeJournal(bytes);
    EXPECT_EQ(journal.Head.Kind, engine::TJournalKind::Undo);
    EXPECT_EQ(journal.Head.Folder, "/tmp/a\nb/\xff/");
    EXPECT_EQ(journal.Head.Device, 2049u);
    EXPECT_EQ(journal.Head.Inode, 123456789012345ULL);
    EXPECT_EQ(journal.Head.Undoes, "0000000007.journal");
    ASSERT_EQ(journal.Rows.size(), kRows.size());
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(journal.Rows[i].From, kRows[i].From);
        EXPECT_EQ(journal.Rows[i].To, kRows[i].To);
    }
    EXPECT_EQ(journal.Rows[0].Outcome, 'R');
    EXPECT_EQ(journal.Rows[1].Outcome, 0);
    EXPECT_EQ(journal.Rows[2].Outcome, 'F');
    EXPECT_EQ(journal.Rows[2].Error, 17);
    EXPECT_EQ(journal.Ending, "done");
    EXPECT_EQ(engine::DecodeEnding(bytes.substr(bytes.size() - 20)), "done");
    EXPECT_EQ(engine::DecodeJournalHead(bytes)->Folder, "/tmp/a\nb/\xff/");
}

TEST(JournalFormat, TornRecordsAreSkippedAndOpenJournalsHaveNoEnding) {
    const std::string start = engine::EncodeJournalStart({}, kRows);
    std::string first, second;
    engine::EncodeOutcome(first, 1, 'R', 0);
    engine::EncodeOutcome(second, 3, 'R', 0);
    struct Row {
        const char* name;
        std::string bytes;
        char outcome1, outcome3;
        const char* ending;
    };
    const Row rows[] = {
        {"cut in the last outcome", start + first + second.substr(0, 5), 'R', 0, ""},
        {"cut outcome, then more", start + first.substr(0, 4) + second, 0, 'R', ""},
        {"cut, then closed", start + second.substr(0, 6) + engine::EncodeEnding("kept"), 0, 0,
         "kept"},
        {"ending cut", start + engine::EncodeEnding("done").substr(0, 5), 0, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const engine::TJournal journal = engine::DecodeJournal(row.bytes);
        ASSERT_EQ(journal.Rows.size(), kRows.size());
        EXPECT_EQ(journal.Rows[1].Outcome, row.outcome1);
        EXPECT_EQ(journal.Rows[3].Outcome, row.outcome3);
        EXPECT_EQ(journal.Ending, row.ending);
        EXPECT_EQ(engine::DecodeEnding(row.bytes), row.ending);
    }
}

TEST(JournalFormat, UnreadableStartsAreRefused) {
    const std::string start = engine::EncodeJournalStart({}, kRows);
    std::string otherVersion = start;
    otherVersion.replace(otherVersion.find("1:1"), 3, "1:9");
    for (const std::string& bytes :
         {std::string(), std::string("garbage"), start.substr(0, 8), otherVersion}) {
        EXPECT_THROW_MSG(engine::DecodeJournal(bytes), engine::TError, "改名记录无法读取");
        EXPECT_FALSE(engine::DecodeJournalHead(bytes));
    }
}
