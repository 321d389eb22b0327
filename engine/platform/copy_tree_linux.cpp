#include "engine/platform/folder_tree_linux.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/platform/fd_linux.h"

namespace engine::platform {
namespace {

void KeepFirst(int& first, int error) {
    if (first == 0) first = error;
}

int CopyBytes(int from, int to) {
    std::vector<char> buffer(1 << 17);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got == 0) return 0;
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0 && errno != EINTR) return errno;
            if (put > 0) done += put;
        }
    }
}

// Permissions and times of `source` onto the open copy.
int KeepAttributes(int fd, const struct stat& source) {
    int first = 0;
    if (::fchmod(fd, source.st_mode & 07777) != 0) KeepFirst(first, errno);
    const std::array<timespec, 2> times{source.st_atim, source.st_mtim};
    if (::futimens(fd, times.data()) != 0) KeepFirst(first, errno);
    return first;
}

TCopyOutcome CopyFile(int fromDir, const std::string& name, int toDir, const std::string& toName,
                      const struct stat& source) {
    const TFd from(::openat(fromDir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!from.valid()) return {false, errno};
    const TFd to(::openat(toDir, toName.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!to.valid()) return {false, errno};
    int first = CopyBytes(from.get(), to.get());
    KeepFirst(first, KeepAttributes(to.get(), source));
    return {true, first};
}

TCopyOutcome CopyFolder(int fromDir, const std::string& name, int toDir, const std::string& toName,
                        const struct stat& source) {
    const TFd from = OpenFolder(fromDir, name);
    if (!from.valid()) return {false, errno};
    std::vector<std::string> names;
    if (const int err = ListNames(from.get(), names); err != 0) return {false, err};
    // Made private first, so that a read-only source folder can still be filled.
    if (::mkdirat(toDir, toName.c_str(), 0700) != 0) return {false, errno};
    const TFd to = OpenFolder(toDir, toName);
    if (!to.valid()) return {true, errno};
    int first = 0;
    for (const std::string& child : names)
        KeepFirst(first, CopyEntry(from.get(), child, to.get(), child).Error);
    KeepFirst(first, KeepAttributes(to.get(), source));
    return {true, first};
}

TCopyOutcome CopyLink(int fromDir, const std::string& name, int toDir, const std::string& toName,
                      const struct stat& source) {
    std::vector<char> target(static_cast<size_t>(source.st_size) + 2);
    const ssize_t length = ::readlinkat(fromDir, name.c_str(), target.data(), target.size());
    if (length < 0) return {false, errno};
    if (static_cast<size_t>(length) >= target.size()) return {false, EAGAIN}; // changed meanwhile
    target[static_cast<size_t>(length)] = '\0';
    if (::symlinkat(target.data(), toDir, toName.c_str()) != 0) return {false, errno};
    const std::array<timespec, 2> times{source.st_atim, source.st_mtim};
    if (::utimensat(toDir, toName.c_str(), times.data(), AT_SYMLINK_NOFOLLOW) != 0)
        return {true, errno};
    return {true, 0};
}

TCopyOutcome CopySpecial(int toDir, const std::string& toName, const struct stat& source) {
    if (::mknodat(toDir, toName.c_str(), source.st_mode, source.st_rdev) != 0)
        return {false, errno};
    const std::array<timespec, 2> times{source.st_atim, source.st_mtim};
    if (::utimensat(toDir, toName.c_str(), times.data(), AT_SYMLINK_NOFOLLOW) != 0)
        return {true, errno};
    return {true, 0};
}

} // namespace

TCopyOutcome CopyEntry(int fromDir, const std::string& name, int toDir, const std::string& toName) {
    struct stat source {};
    if (::fstatat(fromDir, name.c_str(), &source, AT_SYMLINK_NOFOLLOW) != 0) return {false, errno};
    if (S_ISDIR(source.st_mode)) return CopyFolder(fromDir, name, toDir, toName, source);
    if (S_ISREG(source.st_mode)) return CopyFile(fromDir, name, toDir, toName, source);
    if (S_ISLNK(source.st_mode)) return CopyLink(fromDir, name, toDir, toName, source);
    return CopySpecial(toDir, toName, source);
}

int RemoveEntry(int dirFd, const std::string& name) {
    struct stat entry {};
    if (::fstatat(dirFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (!S_ISDIR(entry.st_mode)) return ::unlinkat(dirFd, name.c_str(), 0) == 0 ? 0 : errno;
    int first = 0;
    {
        const TFd folder = OpenFolder(dirFd, name);
        if (!folder.valid()) return errno;
        std::vector<std::string> names;
        KeepFirst(first, ListNames(folder.get(), names));
        for (const std::string& child : names)
            KeepFirst(first, RemoveEntry(folder.get(), child));
    }
    if (::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) != 0) KeepFirst(first, errno);
    return first;
}

} // namespace engine::platform
