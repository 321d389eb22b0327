// The rules POSIX has for paths and names, and the texts of its errors.
#include "engine/platform/platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "engine/messages.h"

namespace engine::platform {

const char FolderSeparator = '/';
const std::string_view NameLimit = "255 bytes";

bool IsSeparator(char c) {
    return c == '/';
}

bool IsFolderPath(std::string_view path) {
    return path.starts_with('/');
}

bool IsValidNewName(std::string_view) {
    return true; // a POSIX name is any bytes but "/" and NUL, which the caller refuses
}

std::string FailureText(int error) {
    namespace m = messages;
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return std::string(m::TargetExists);
    case ENOENT:
        return std::string(m::NotFound);
    case EACCES:
    case EPERM:
        return std::string(m::AccessDenied);
    case ENAMETOOLONG:
        return std::string(m::NameTooLong);
    case EROFS:
        return std::string(m::ReadOnlyFileSystem);
    case EXDEV:
        return std::string(m::CrossDevice);
    case EINVAL:
    case EILSEQ:
        return std::string(m::InvalidName);
    default:
        return std::strerror(error);
    }
}

bool IsNameTaken(int error) {
    return error == EEXIST;
}

std::optional<TFormatSettings> SystemFormatSettings() {
    return std::nullopt;
}

std::string StateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/zelvora";
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return {};
    return std::string(home) + "/.local/state/zelvora";
}

} // namespace engine::platform
