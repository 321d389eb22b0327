// What POSIX has for paths and names, and what its error codes are.
#include "engine/platform/platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/platform/fd_linux.h"

namespace engine::platform {

const char FolderSeparator = '/';
const TNameUnit NameUnit = TNameUnit::Byte;

bool IsSeparator(char c) {
    return c == '/';
}

bool IsFolderPath(std::string_view path) {
    return path.starts_with('/');
}

const bool OpensOnlyWindowsNames = false; // a POSIX name is any bytes but "/" and NUL

TFailureKind FailureKindOf(int error) {
    using enum TFailureKind;
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return NameTaken;
    case ENOENT:
        return NotFound;
    case EACCES:
    case EPERM:
        return AccessDenied;
    case ENAMETOOLONG:
        return NameTooLong;
    case EROFS:
        return ReadOnly;
    case EXDEV:
        return CrossDevice;
    case EINVAL:
    case EILSEQ:
        return InvalidName;
    default:
        return Other;
    }
}

std::string SystemErrorText(int error) {
    return std::strerror(error);
}

bool IsNameTaken(int error) {
    return error == EEXIST;
}

std::optional<TRegionalValues> RegionalValues() {
    return std::nullopt;
}

std::string StateFolder() {
    const std::string home = EnvironmentValue("HOME");
    return IsRootedPath(home) ? home + "/.local/state/zelvora" : std::string();
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsRootedPath(std::string_view path) {
    return path.starts_with('/');
}

TFolderStatus ProbeFolder(const std::string& path) {
    const TFd opened = OpenAbsolute(path, O_PATH);
    struct stat status {};
    if (!opened.valid() || ::fstat(opened.get(), &status) != 0) return {.Error = errno};
    if (!S_ISDIR(status.st_mode)) return {.Error = ENOTDIR};
    return {.IsFolder = true, .LinkCount = status.st_nlink};
}

std::string CurrentFolderPath() {
    const std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    return path ? std::string(path.get()) : std::string();
}

} // namespace engine::platform
