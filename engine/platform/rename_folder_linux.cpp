#include "engine/platform/rename_folder.h"

#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/platform/fd_linux.h"
#include "engine/platform/rename_folder_linux.h"

namespace engine::platform {

struct TRenameFolder::TOpen {
    TFd Fd;
    // Set once the folder's file system has refused RENAME_NOREPLACE: the rest of the run goes
    // straight to the fallback instead of asking again (a round trip on a remote folder). A
    // run renames on one thread only.
    bool NoReplaceRefused = false;
};

TRenameAt2Call g_renameAt2 = ::renameat2;
TLinkAtCall g_linkAt = ::linkat;

namespace {

// The link has made a second name for the entry: drop its old name. On failure the entry keeps
// its old name only.
int DropOldName(int dirFd, const char* from, const char* to) {
    if (::unlinkat(dirFd, from, 0) == 0) return 0;
    const int error = errno;
    ::unlinkat(dirFd, to, 0);
    return error;
}

int ReserveTarget(int dirFd, const char* to, bool isFolder) {
    if (isFolder) return ::mkdirat(dirFd, to, 0700) == 0 ? 0 : errno;
    const int fd = ::openat(dirFd, to, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

// The target is taken by an empty placeholder first, so the rename can replace only that.
int RenameByReservation(int dirFd, const char* from, const char* to, bool isFolder) {
    if (const int error = ReserveTarget(dirFd, to, isFolder); error != 0) return error;
    if (::renameat(dirFd, from, dirFd, to) == 0) return 0;
    const int error = errno;
    ::unlinkat(dirFd, to, isFolder ? AT_REMOVEDIR : 0);
    return error;
}

bool LinksRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK;
}

// A file moves by a second hard link: linkat fails atomically with EEXIST when the target is
// taken, so nothing can be replaced in between, and a file costs a link and an unlink. Only when
// the link is refused (a folder, or a file system without hard links) is the entry looked at.
int RenameWithoutNoReplaceFlag(int dirFd, const char* from, const char* to) {
    if (g_linkAt(dirFd, from, dirFd, to, 0) == 0) return DropOldName(dirFd, from, to);
    const int error = errno;
    if (!LinksRefused(error)) return error;
    struct stat status {};
    if (::fstatat(dirFd, from, &status, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    return RenameByReservation(dirFd, from, to, S_ISDIR(status.st_mode));
}

} // namespace

TRenameFolder::TRenameFolder(const std::string& path) {
    TFd fd = OpenAbsolute(path, O_PATH | O_DIRECTORY);
    if (fd.valid())
        m_open = std::make_unique<TOpen>(TOpen{std::move(fd)});
    else
        m_openError = errno;
}

TRenameFolder::~TRenameFolder() = default;

int TRenameFolder::RenameNoReplace(const std::string& from, const std::string& to,
                                   const TFileIdentity&, const std::string&) const {
    if (!m_open) return m_openError;
    const int fd = m_open->Fd.get();
    if (m_open->NoReplaceRefused) return RenameWithoutNoReplaceFlag(fd, from.c_str(), to.c_str());
    if (g_renameAt2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    const int error = errno; // capture before anything else can overwrite it
    if (error != EINVAL) return error;
    // EINVAL also answers a folder moved into itself; only a fallback that does not answer
    // the same shows that the flag itself was refused.
    const int fallbackError = RenameWithoutNoReplaceFlag(fd, from.c_str(), to.c_str());
    m_open->NoReplaceRefused = fallbackError != EINVAL;
    return fallbackError;
}

bool TRenameFolder::Identity(std::uint64_t& device, std::uint64_t& inode) const {
    struct stat status {};
    if (!m_open || ::fstat(m_open->Fd.get(), &status) != 0) return false;
    device = status.st_dev;
    inode = status.st_ino;
    return true;
}

int TRenameFolder::IdentityOf(const std::string& name, TFileIdentity& identity) const {
    struct stat status {};
    if (!m_open) return m_openError;
    if (::fstatat(m_open->Fd.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    identity = {status.st_dev, status.st_ino};
    return 0;
}

// The inode from the folder's own records (d_ino), which is st_ino on every common file
// system; where a file system differs (overlay), the caller asks IdentityOf.
int TRenameFolder::ReadIdentities(
    const std::function<void(std::string_view, const TFileIdentity&)>& each) const {
    if (!m_open) return m_openError;
    struct stat folder {};
    if (::fstat(m_open->Fd.get(), &folder) != 0) return errno;
    const int fd = ::openat(m_open->Fd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* stream = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!stream) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        return error;
    }
    errno = 0;
    while (const dirent* item = ::readdir(stream)) {
        each(item->d_name, TFileIdentity{folder.st_dev, item->d_ino});
        errno = 0;
    }
    const int error = errno;
    ::closedir(stream);
    return error;
}

bool PassesThroughStopOver(std::string_view, std::string_view) {
    return false;
}

int TRenameFolder::Sync() const {
    if (!m_open) return m_openError;
    // The folder is held with O_PATH, which can't be synced: sync a readable twin.
    const TFd readable(::openat(m_open->Fd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!readable.valid()) return errno;
    return ::fsync(readable.get()) == 0 ? 0 : errno;
}

} // namespace engine::platform
