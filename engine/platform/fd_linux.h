#pragma once
// Small helpers over POSIX file descriptors for the folder operations.

#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "engine/platform/system_values.h"

namespace engine::platform {

// Owns one file descriptor and closes it.
class TFd {
public:
    explicit TFd(int fd = -1) : m_fd(fd) {}
    TFd(TFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    TFd& operator=(TFd&& other) noexcept;
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd();

    int get() const { return m_fd; }
    // Gives up ownership, for an API that takes the descriptor over (fdopendir).
    int release() { return std::exchange(m_fd, -1); }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Whether a name read from a folder is its "." or "..".
inline bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Every name in the folder open as `dirFd` except "." and "..", read completely before the
// caller changes anything. Returns 0 or the errno of the failure.
int ListNames(int dirFd, std::vector<std::string>& names);

// Opens the absolute `path` with `flags` (O_CLOEXEC is added), whatever its length: a path
// of PATH_MAX bytes or more, which the system refuses whole, is opened folder by folder. A
// path holding NUL, which the system would read cut short, fails with EINVAL. Sets errno on
// failure.
TFd OpenAbsolute(const std::string& path, int flags);

// Opens a folder below `dirFd` to read it, never following a link. Sets errno on failure.
TFd OpenFolder(int dirFd, const std::string& name);

// An entry's identity where the volume keeps no handles: a file's size and modification time,
// or a folder.
inline TFileIdentity ShapeOf(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) return {.HasShape = true, .IsFolder = true};
    return {.Size = static_cast<std::uint64_t>(status.st_size),
            // Wraps for a time beyond 2262 rather than overflow: only equality counts.
            .Modified = static_cast<std::int64_t>(
                static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1'000'000'000u +
                static_cast<std::uint64_t>(status.st_mtim.tv_nsec)),
            .HasShape = true};
}

} // namespace engine::platform
