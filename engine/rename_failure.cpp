#include "engine/engine.h"

#include "engine/messages.h"
#include "engine/platform/platform.h"

namespace engine {

std::string RenameFailureText(int error) {
    if (error == rrInvalidName) return std::string(messages::InvalidName);
    return platform::FailureText(error);
}

} // namespace engine
