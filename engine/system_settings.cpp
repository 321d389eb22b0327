// What the engine passes on from the system to the window.
#include "engine/engine.h"

#include <algorithm>

#include "engine/platform/platform.h"
#include "engine/regional_settings.h"

namespace engine {

// An absolute $XDG_STATE_HOME names the state folder on every platform, so that each test gets
// a folder of its own under Wine too; otherwise the system's place.
std::string DefaultJournalFolder() {
    std::string state = platform::EnvironmentValue("XDG_STATE_HOME");
    if (!platform::IsRootedPath(state)) return platform::StateFolder();
    std::replace_if(state.begin(), state.end(), platform::IsSeparator, platform::FolderSeparator);
    return state + platform::FolderSeparator + "zelvora";
}

std::optional<TFormatSettings> SystemFormatSettings() {
    const std::optional<TRegionalValues> values = platform::RegionalValues();
    if (!values) return std::nullopt;
    return FormatSettingsFromRegionalValues(*values);
}

// ext4, xfs and tmpfs count one link per sub-folder on top of "." and the parent's entry;
// btrfs and overlay always report 1, and Windows keeps no count: neither says anything.
bool MayHaveSubFolders(std::uint64_t linkCount) {
    return linkCount != 2;
}

TFolderProbe ProbeFolder(const std::string& path) {
    const platform::TFolderStatus status = platform::ProbeFolder(path);
    return {status.IsFolder, status.IsFolder && MayHaveSubFolders(status.LinkCount), status.Error};
}

std::string CurrentFolderPath() {
    return platform::CurrentFolderPath();
}

} // namespace engine
