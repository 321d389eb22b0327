#include "engine/engine.h"

#include "engine/messages.h"
#include "engine/platform/platform.h"

namespace engine {
namespace {

// A reason stands in a row or inside a sentence of ours: the system's closing full stop (and
// the line break Windows ends its texts with) would break it.
std::string WithoutClosingStop(std::string text) {
    for (;;) {
        if (text.ends_with("\u3002")) {
            text.resize(text.size() - std::string_view("\u3002").size());
        } else if (!text.empty() &&
                   std::string_view(". \r\n").find(text.back()) != std::string_view::npos) {
            text.pop_back();
        } else {
            return text;
        }
    }
}

} // namespace

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
    switch (platform::FailureKindOf(error)) {
        using enum TFailureKind;
    case NameTaken:
        return std::string(messages::TargetExists);
    case NotFound:
        return std::string(messages::NotFound);
    case AccessDenied:
        return std::string(messages::AccessDenied);
    case InUse:
        return std::string(messages::FileInUse);
    case NameTooLong:
        return std::string(messages::NameTooLong);
    case ReadOnly:
        return std::string(messages::ReadOnlyFileSystem);
    case CrossDevice:
        return std::string(messages::CrossDevice);
    case InvalidName:
        return std::string(messages::InvalidName);
    case Other:
        break;
    }
    return WithoutClosingStop(platform::SystemErrorText(error));
}

} // namespace engine
