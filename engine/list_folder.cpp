#include "engine/engine.h"

#include <algorithm>
#include <cstdint>
#include <deque>

#include "engine/natural_key.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

constexpr std::size_t PrefetchDistance = 8;

// Keys of `entries` in natural name order; sorting small keys moves no names.
std::vector<TNaturalKey> NaturalOrder(const std::deque<platform::TDirEntry>& entries) {
    std::vector<TNaturalKey> keys;
    keys.reserve(entries.size());
    for (std::uint32_t i = 0; i < entries.size(); ++i)
        keys.push_back(MakeNaturalKey(entries[i].Name, i));
    SortNaturally(keys,
                  [&entries](std::uint32_t i) -> std::string_view { return entries[i].Name; });
    return keys;
}

// Modification texts, remembering the last one: the files of a folder often share their time.
class TModifiedTexts {
public:
    explicit TModifiedTexts(const TFormatSettings& settings) : m_settings(settings) {}
    std::string TextOf(const platform::TDirEntry& entry) {
        if (!entry.HasTime) return {};
        if (m_known && entry.ModifiedSeconds == m_lastSeconds) return m_lastText;
        TDateTime when;
        m_lastText = platform::LocalTime(entry.ModifiedSeconds, when)
                         ? ModificationText(when, m_settings)
                         : std::string();
        m_lastSeconds = entry.ModifiedSeconds;
        m_known = true;
        return m_lastText;
    }

private:
    const TFormatSettings& m_settings;
    bool m_known = false;
    std::int64_t m_lastSeconds = 0;
    std::string m_lastText;
};

TFolderEntry RowOf(platform::TDirEntry&& entry, TModifiedTexts& modifiedTexts) {
    TFolderEntry row;
    row.ModifiedText = modifiedTexts.TextOf(entry);
    row.IsFolder = entry.IsFolder;
    row.ImageIndex = entry.IsFolder ? FolderImageIndex : FileImageIndex;
    row.TypeText = entry.IsFolder ? FolderTypeText : FileExtension(entry.Name);
    row.OldName = std::move(entry.Name);
    row.Identity = entry.Identity;
    return row;
}

} // namespace

std::string_view FileExtension(std::string_view name) {
    // The listed folder ends in its separator, so the name alone holds the last "." or
    // separator of the path.
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool NamesFolderOnDisk(std::string_view path) {
    return platform::IsFolderPath(path);
}

void ListFolder(TFolderListing& listing, const std::string& path, const TFormatSettings& settings) {
    if (!NamesFolderOnDisk(path)) return;
    std::string folder = path;
    if (!platform::IsSeparator(folder.back())) folder += platform::FolderSeparator;
    std::deque<platform::TDirEntry> entries; // grows without copying
    platform::TFolderIdentity identity;
    platform::ReadFolderEntries(folder, entries, &identity);
    const std::vector<TNaturalKey> order = NaturalOrder(entries);
    std::vector<TFolderEntry> rows;
    rows.reserve(entries.size());
    TModifiedTexts modifiedTexts(settings);
    for (std::size_t i = 0; i < order.size(); ++i) {
        // Entries come in a scattered order: ask for the ones a few rows ahead early.
        if (i + PrefetchDistance < order.size())
            __builtin_prefetch(&entries[order[i + PrefetchDistance].index]);
        rows.push_back(RowOf(std::move(entries[order[i].index]), modifiedTexts));
    }
    listing.CurrentFolder = std::move(folder);
    listing.Rows = std::move(rows);
    listing.Device = identity.Device;
    listing.Inode = identity.Inode;
}

void RelistIdentity(const std::string& folder, TFolderEntry& row) {
    platform::TDirEntry entry;
    const bool plain = std::none_of(row.OldName.begin(), row.OldName.end(), platform::IsSeparator);
    row.Identity = plain && platform::ReadFolderEntry(folder, row.OldName, entry) ? entry.Identity
                                                                                  : TFileIdentity{};
}

} // namespace engine
