#include "engine/rename_steps.h"

#include <chrono>

#include "engine/platform/platform.h"

namespace engine {

int RenameNoReplace(const platform::TRenameFolder& folder, const std::string& from,
                    const std::string& to, const TFileIdentity& expected,
                    const std::string& stopOver) {
    const int error = folder.RenameNoReplace(from, to, expected);
    if (stopOver.empty() || !platform::IsNameTaken(error)) return error;
    if (const int first = folder.RenameNoReplace(from, stopOver); first != 0) return first;
    const int second = folder.RenameNoReplace(stopOver, to);
    if (second == 0) return 0;
    return folder.RenameNoReplace(stopOver, from) == 0 ? second : rrLeftAtStopOver;
}

std::string UnjournaledStopOverName(const std::string& from) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return from + ".zelvora-case-" + std::to_string(now.count());
}

} // namespace engine
