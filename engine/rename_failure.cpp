#include "engine/engine.h"

#include "engine/messages.h"
#include "engine/platform/platform.h"

namespace engine {

std::string RenameFailureText(int error) {
    switch (error) {
    case rrInvalidName:
        return std::string(messages::InvalidName);
    case rrEntryReplaced:
        return std::string(messages::EntryReplaced);
    case rrLeftAtStopOver:
        return std::string(messages::LeftAtStopOver);
    case rrFolderReplaced:
        return std::string(messages::FolderMoved);
    case rrWindowsName:
        return std::string(messages::NameWindowsRefuses);
    case rrCaseTwin:
        return std::string(messages::NameCaseTwin);
    case rrHoldsJournals:
        return std::string(messages::HoldsJournals);
    default:
        break;
    }
    return platform::FailureText(error);
}

} // namespace engine
