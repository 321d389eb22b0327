#include "engine/engine.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "engine/platform/rename_posix.h"

namespace engine {
namespace {

// New names are paths relative to the listed folder; a leading "/" stays inside it.
const char* RelativeToFolder(const std::string& name) {
    std::size_t at = 0;
    while (at < name.size() && name[at] == '/')
        ++at;
    return name.c_str() + at;
}

bool IsInvalidTarget(std::string_view name) {
    return name.empty() || name == "." || name == "..";
}

// The system reads a name only up to its first NUL, so it would rename something else.
bool HoldsNul(std::string_view name) {
    return name.find('\0') != std::string_view::npos;
}

// A name of one entry of a folder. An old name must be one: a caption edited to hold "/"
// would reach into another folder ("../x").
bool IsPlainName(std::string_view name) {
    return name.find('/') == std::string_view::npos && !HoldsNul(name);
}

void RenameRow(const platform::TRenameFolder& folder, TFolderEntry& row,
               const std::string& newName) {
    const char* from = row.OldName.c_str();
    const char* to = RelativeToFolder(newName);
    row.Error = 0;
    if (!IsPlainName(row.OldName) || HoldsNul(newName) || IsInvalidTarget(to)) {
        row.Status = TRenameStatus::Failed;
        row.Error = rrInvalidName;
    } else if (std::string_view(from) == to) {
        row.Status = TRenameStatus::Skipped;
    } else {
        row.Error = folder.RenameNoReplace(from, to);
        row.Status = row.Error == 0 ? TRenameStatus::Renamed : TRenameStatus::Failed;
    }
}

} // namespace

void ApplyRenames(TFolderListing& listing, const TRenameSettings& settings,
                  const TBatchControl& control) {
    const std::int32_t start = ParseSettingsInteger(settings.StartNumber);
    const std::int32_t digits = ParseDigitCount(settings.Digits);
    if (listing.Rows.empty()) return;
    const platform::TRenameFolder folder(listing.CurrentFolder);
    // Unsigned, so the number wraps from 2147483647 to -2147483648 without overflow.
    auto number = static_cast<std::uint32_t>(start);
    const std::size_t total = listing.Rows.size();
    for (std::size_t done = 0; done < total && !control.Stop.stop_requested(); ++done) {
        TFolderEntry& row = listing.Rows[done];
        std::string newName = ComposeNewName(row.OldName, row.TypeText, settings, digits,
                                             static_cast<std::int32_t>(number));
        RenameRow(folder, row, newName);
        row.NewName = std::move(newName);
        ++number;
        if (control.Progress) control.Progress(done + 1, total);
    }
}

int RenameEntry(const std::string& folder, const std::string& from, const std::string& to) {
    if (IsInvalidTarget(to) || !IsPlainName(to) || !IsPlainName(from)) return rrInvalidName;
    if (from == to) return 0;
    const platform::TRenameFolder opened(folder);
    if (opened.OpenError() != 0) return opened.OpenError();
    return opened.RenameNoReplace(from.c_str(), to.c_str());
}

} // namespace engine
