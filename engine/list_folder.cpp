#include "engine/engine.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "engine/platform/platform.h"

namespace engine {
namespace {

// Positions of `entries` in natural name order; sorting small indices moves no names.
std::vector<std::uint32_t> NaturalOrder(const std::vector<platform::TDirEntry>& entries) {
    std::vector<std::uint32_t> order(entries.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&entries](std::uint32_t a, std::uint32_t b) {
        return NaturalCompare(entries[a].Name, entries[b].Name) < 0;
    });
    return order;
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
    std::vector<platform::TDirEntry> entries;
    platform::ReadFolderEntries(folder, entries);
    std::vector<TFolderEntry> rows;
    rows.reserve(entries.size());
    for (const std::uint32_t at : NaturalOrder(entries))
        rows.push_back(RowOf(std::move(entries[at]), settings));
    listing.CurrentFolder = std::move(folder);
    listing.Rows = std::move(rows);
}

} // namespace engine
