#include "engine/platform/fd_linux.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace engine::platform {

TFd& TFd::operator=(TFd&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

TFd::~TFd() {
    if (m_fd >= 0) ::close(m_fd);
}

int ListNames(int dirFd, std::vector<std::string>& names) {
    // fdopendir takes over its descriptor, so it gets a fresh one positioned at the start.
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        const int err = errno;
        ::close(fd);
        return err;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
        errno = 0;
    }
    const int err = errno;
    ::closedir(dir);
    return err;
}

TFd OpenAbsolute(const std::string& path, int flags) {
    if (path.find('\0') != std::string::npos) {
        errno = EINVAL;
        return TFd();
    }
    if (path.empty()) { // as open("") answers; never the working folder
        errno = ENOENT;
        return TFd();
    }
    // Each piece, up to a "/", is shorter than PATH_MAX and opened below the one before, so
    // links and ".." resolve as they would in the whole path.
    TFd folder;
    std::size_t begin = 0;
    while (path.size() - begin >= PATH_MAX) {
        const std::size_t cut = path.rfind('/', begin + PATH_MAX - 1);
        if (cut == std::string::npos || cut <= begin) {
            errno = ENAMETOOLONG; // one name longer than any file system allows
            return TFd();
        }
        const int at = folder.valid() ? folder.get() : AT_FDCWD;
        TFd next(::openat(at, path.substr(begin, cut - begin).c_str(),
                          O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!next.valid()) return next;
        folder = std::move(next);
        begin = cut + 1;
    }
    const std::string rest = begin == path.size() ? "." : path.substr(begin);
    return TFd(::openat(folder.valid() ? folder.get() : AT_FDCWD, rest.c_str(), flags | O_CLOEXEC));
}

TFd OpenFolder(int dirFd, const std::string& name) {
    return TFd(::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

} // namespace engine::platform
