#pragma once
// What the listing tests expect of a listed row, on every platform.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"

namespace listed_rows {

struct TWant {
    const char* Name;
    const char* Type;
    bool IsFolder;
};

// Each row as `want` has it, in that order: a folder shows the folder picture, anything else
// the file picture; no row has a new name or a status yet, and every row its time.
inline void ExpectRows(const engine::TFolderListing& listing, std::span<const TWant> want) {
    ASSERT_EQ(listing.Rows.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(want[i].Name);
        const engine::TFolderEntry& row = listing.Rows[i];
        EXPECT_EQ(row.OldName, want[i].Name);
        EXPECT_EQ(row.TypeText, want[i].Type);
        EXPECT_EQ(row.IsFolder, want[i].IsFolder);
        EXPECT_EQ(row.ImageIndex, want[i].IsFolder ? 40 : 60);
        EXPECT_EQ(row.NewName, "");
        EXPECT_EQ(row.Status, engine::TRenameStatus::NotRun);
        EXPECT_FALSE(row.ModifiedText.empty());
    }
}

inline std::vector<std::string> NamesOf(const engine::TFolderListing& listing) {
    std::vector<std::string> names;
    for (const engine::TFolderEntry& row : listing.Rows)
        names.push_back(row.OldName);
    return names;
}

} // namespace listed_rows
