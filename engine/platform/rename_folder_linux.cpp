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
};

TRenameAt2Call g_renameAt2 = ::renameat2;
TLinkAtCall g_linkAt = ::linkat;

namespace {

// A file moves by a second hard link: linkat fails atomically with EEXIST when the target is
// taken, so nothing can be replaced in between.
int RenameByLink(int dirFd, const char* from, const char* to) {
    if (g_linkAt(dirFd, from, dirFd, to, 0) != 0) return errno;
    if (::unlinkat(dirFd, from, 0) == 0) return 0;
    const int error = errno;
    ::unlinkat(dirFd, to, 0); // keep the entry under its old name only
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

int RenameWithoutNoReplaceFlag(int dirFd, const char* from, const char* to) {
    struct stat status {};
    if (::fstatat(dirFd, from, &status, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    const bool isFolder = S_ISDIR(status.st_mode);
    if (!isFolder) {
        const int error = RenameByLink(dirFd, from, to);
        if (!LinksRefused(error)) return error;
    }
    return RenameByReservation(dirFd, from, to, isFolder);
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
    if (g_renameAt2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    const int error = errno; // capture before anything else can overwrite it
    return error == EINVAL ? RenameWithoutNoReplaceFlag(fd, from.c_str(), to.c_str()) : error;
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
int TRenameFolder::ReadIdentities(std::vector<std::pair<std::string, TFileIdentity>>& identities) const {
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
        identities.emplace_back(item->d_name, TFileIdentity{folder.st_dev, item->d_ino});
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
