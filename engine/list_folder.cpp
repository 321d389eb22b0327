#include "engine/engine.h"

#include <algorithm>
#include <cstdint>
#include <deque>

#include "engine/natural_key.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

// Keys of `entries` in natural name order; sorting small keys moves no names.
std::vector<TNaturalKey> NaturalOrder(const std::deque<platform::TDirEntry>& entries) {
    std::vector<TNaturalKey> keys;
    keys.reserve(entries.size());
    for (std::uint32_t i = 0; i < entries.size(); ++i)
        keys.push_back(MakeNaturalKey(entries[i].Name, i));
    SortNaturally(keys, [&entries](std::uint32_t i) -> std::string_view { return entries[i].Name; });
    return keys;
}

std::string ModifiedTextOf(const platform::TDirEntry& entry, const TFormatSettings& settings) {
    TDateTime when;
    if (!entry.HasTime || !platform::LocalTime(entry.ModifiedSeconds, when)) return {};
    return ModificationText(when, settings);
}

TFolderEntry RowOf(platform::TDirEntry&& entry, const TFormatSettings& settings) {
    TFolderEntry row;
    row.ModifiedText = ModifiedTextOf(entry, settings);
    row.IsFolder = entry.IsFolder;
    row.ImageIndex = entry.IsFolder ? FolderImageIndex : FileImageIndex;
    row.TypeText = entry.IsFolder ? FolderTypeText : FileExtension(entry.Name);
    row.OldName = std::move(entry.Name);
    return row;
}

} // namespace

std::string_view FileExtension(std::string_view name) {
    // The listed folder ends in "/", so the name alone holds the last "." or "/" of the path.
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

void ListFolder(TFolderListing& listing, const std::string& path, const TFormatSettings& settings) {
    if (path.empty() || path.front() != '/') return;
    std::string folder = path;
    if (folder.back() != '/') folder += '/';
    std::deque<platform::TDirEntry> entries; // grows without copying
    platform::ReadFolderEntries(folder, entries);
    std::vector<TFolderEntry> rows;
    rows.reserve(entries.size());
    for (const TNaturalKey& key : NaturalOrder(entries))
        rows.push_back(RowOf(std::move(entries[key.index]), settings));
    listing.CurrentFolder = std::move(folder);
    listing.Rows = std::move(rows);
}

} // namespace engine
