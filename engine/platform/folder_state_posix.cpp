// What the batch journal needs of an open rename folder beyond renaming: its identity, whether
// a name is present, and a sync.
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/platform/posix_fd.h"
#include "engine/platform/rename_posix.h"

namespace engine::platform {

bool TRenameFolder::Identity(std::uint64_t& device, std::uint64_t& inode) const {
    struct stat status {};
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0) return false;
    device = status.st_dev;
    inode = status.st_ino;
    return true;
}

bool TRenameFolder::Holds(const char* name) const {
    struct stat status {};
    return m_fd >= 0 && ::fstatat(m_fd, name, &status, AT_SYMLINK_NOFOLLOW) == 0;
}

int TRenameFolder::Sync() const {
    if (m_fd < 0) return m_openError;
    // The folder is held with O_PATH, which can't be synced: sync a readable twin.
    const TFd readable(::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!readable.valid()) return errno;
    return ::fsync(readable.get()) == 0 ? 0 : errno;
}

} // namespace engine::platform
