#include "engine/platform/platform.h"

#include <algorithm>
#include <map>

#include <windows.h>

#include "engine/platform/held_folder_win.h"
#include "engine/platform/wide_win.h"

namespace engine::platform {
namespace {

constexpr std::int64_t TicksPerSecond = 10'000'000;
constexpr std::int64_t EpochTicks = 116'444'736'000'000'000; // 1970-01-01 in FILETIME ticks

std::int64_t SecondsOf(const FILETIME& time) {
    const auto ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    const std::int64_t sinceEpoch = ticks - EpochTicks;
    return sinceEpoch / TicksPerSecond - (sinceEpoch % TicksPerSecond < 0 ? 1 : 0);
}

// The time-zone rules in force in `year` (daylight saving dates change over the years). The
// zone is read again at most once a second and each year's rules once per zone reading:
// reading them per entry would cost more than the listing itself.
const TIME_ZONE_INFORMATION* RulesOfYear(WORD year) {
    thread_local DYNAMIC_TIME_ZONE_INFORMATION zone{};
    thread_local ULONGLONG readAt = 0;
    thread_local std::map<WORD, TIME_ZONE_INFORMATION> years;
    const ULONGLONG now = ::GetTickCount64();
    if (readAt == 0 || now - readAt >= 1000) {
        ::GetDynamicTimeZoneInformation(&zone);
        readAt = now == 0 ? 1 : now;
        years.clear();
    }
    auto found = years.find(year);
    if (found == years.end()) {
        TIME_ZONE_INFORMATION rules{};
        if (!::GetTimeZoneInformationForYear(year, &zone, &rules)) return nullptr;
        found = years.emplace(year, rules).first;
    }
    return &found->second;
}

void AppendEntry(const FILE_ID_BOTH_DIR_INFO& item, std::deque<TDirEntry>& entries) {
    const std::wstring_view name(item.FileName, item.FileNameLength / sizeof(wchar_t));
    if (name == L"." || name == L"..") return;
    const FILETIME written{item.LastWriteTime.LowPart,
                           static_cast<DWORD>(item.LastWriteTime.HighPart)};
    entries.push_back({Narrow(name), SecondsOf(written),
                       (item.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, true,
                       IdentityOf(item)});
}

} // namespace

bool ReadFolderEntries(const std::string& folder, std::deque<TDirEntry>& entries,
                       TFolderIdentity* folderIdentity) {
    const std::wstring path = SystemPath(folder);
    if (path.empty()) return false;
    // Held while it is read, so the identities read are those of the folder listed; names,
    // times, attributes and file ids come in one pass over the open folder.
    const auto held = HoldFolder(path);
    if (!held->IsOpen()) return false;
    if (folderIdentity) held->ReadIdentity(folderIdentity->Device, folderIdentity->Inode);
    return held->ReadEntries(
        [&](const FILE_ID_BOTH_DIR_INFO& item) { AppendEntry(item, entries); });
}

// One entry, read as the listing reads them all: a caption is edited seldom.
bool ReadFolderEntry(const std::string& folder, const std::string& name, TDirEntry& entry) {
    std::deque<TDirEntry> entries;
    ReadFolderEntries(folder, entries);
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const TDirEntry& each) { return each.Name == name; });
    if (found == entries.end()) return false;
    entry = std::move(*found);
    return true;
}

bool LocalTime(std::int64_t seconds, TDateTime& when) {
    if (seconds < -EpochTicks / TicksPerSecond ||
        seconds > (INT64_MAX - EpochTicks) / TicksPerSecond)
        return false;
    const auto ticks = static_cast<std::uint64_t>(seconds * TicksPerSecond + EpochTicks);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    if (!::FileTimeToSystemTime(&time, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(RulesOfYear(utc.wYear), &utc, &local))
        return false;
    when = {local.wYear,   local.wMonth,  local.wDay, local.wHour,
            local.wMinute, local.wSecond, 0,          local.wDayOfWeek};
    return true;
}

} // namespace engine::platform
