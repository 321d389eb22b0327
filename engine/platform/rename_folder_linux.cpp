#include "engine/platform/rename_folder.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "engine/platform/fd_linux.h"
#include "engine/platform/rename_folder_linux.h"

namespace engine::platform {

namespace {

// Far enough ahead that each lookup is done before its rename comes, near enough that what it
// found is still fresh then (sshfs keeps an entry 20 s, NFS a few seconds).
constexpr std::size_t LookAheadRenames = 8;

// Looks entries up on a thread of its own, at most LookAheadRenames ahead of the renames. On a
// remote folder an entry not looked at for a while is asked of the server again; a rename does
// that holding the folder's lock, a lookup of its own does not, so the two overlap. It only
// reads: the renames decide nothing by what it finds.
class TLookAhead {
public:
    // `names` are the entries of the renames after the one at work, in order.
    TLookAhead(int dirFd, std::vector<std::string> names)
        : m_dirFd(dirFd), m_names(std::move(names)), m_thread([this] { run(); }) {}
    ~TLookAhead() {
        m_started = Stopped;
        m_started.notify_one();
        m_thread.join();
    }
    TLookAhead(const TLookAhead&) = delete;
    TLookAhead& operator=(const TLookAhead&) = delete;

    void RenameStarted() {
        ++m_started;
        m_started.notify_one();
    }

private:
    static constexpr std::size_t Stopped = std::numeric_limits<std::size_t>::max();

    void run() {
        for (std::size_t next = 0; next < m_names.size(); ++next) {
            std::size_t started = m_started;
            while (started != Stopped && next >= started + LookAheadRenames) {
                m_started.wait(started);
                started = m_started;
            }
            if (started == Stopped) return;
            struct stat status {};
            if (next >= started)
                ::fstatat(m_dirFd, m_names[next].c_str(), &status, AT_SYMLINK_NOFOLLOW);
        }
    }

    int m_dirFd;
    std::vector<std::string> m_names;
    std::atomic<std::size_t> m_started{0}; // of m_names' renames, the one at work included
    std::thread m_thread;
};

} // namespace

struct TRenameFolder::TOpen {
    TFd Fd;
    std::uint64_t Volume = 0;
    std::string Handle; // the folder's, where its volume keeps handles
    bool WindowsReads = false;
    // Set once the folder's file system has refused RENAME_NOREPLACE: the rest of the run goes
    // straight to the fallback instead of asking again (a round trip on a remote folder). A
    // run renames on one thread only.
    bool NoReplaceRefused = false;
    std::function<std::vector<std::string>()> ComingNames;
    std::unique_ptr<TLookAhead> Ahead; // after Fd: stops before the folder closes

    // With `expected`, renames only that entry.
    int RenameOnce(const std::string& from, const std::string& to,
                   const TFileIdentity* expected = nullptr);
};

TRenameAt2Call g_renameAt2 = ::renameat2;
TSymlinkAtCall g_symlinkAt = ::symlinkat;

namespace {

// The time an empty placeholder bears: 1980-01-01 UTC, the first a FAT volume holds, which no
// file of a user's does, so one a crash leaves behind is known for ours.
constexpr timespec PlaceholderTime{315532800, 0};

bool LinksRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK;
}

// An entry's identity as a lookup gives it: its shape, and its inode number where `numbers`.
TFileIdentity IdentityFrom(const struct stat& status, bool numbers) {
    TFileIdentity identity = ShapeOf(status);
    if (numbers) identity.Number = status.st_ino;
    return identity;
}

// Takes the free name `to` for the entry to move onto: each call fails with EEXIST when the name
// is taken, so nothing is replaced. A file's placeholder is a symbolic link that names itself
// ours; where the volume makes no links (FAT, exFAT), and for a folder, an empty entry of the
// placeholder time.
int ReservePlaceholder(int dirFd, const char* to, bool isFolder) {
    if (!isFolder) {
        if (g_symlinkAt(PlaceholderTarget.data(), dirFd, to) == 0) return 0;
        if (!LinksRefused(errno)) return errno;
    }
    if (isFolder) {
        if (::mkdirat(dirFd, to, 0700) != 0) return errno;
    } else {
        const int fd = ::openat(dirFd, to, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0) return errno;
        ::close(fd);
    }
    const timespec times[2] = {PlaceholderTime, PlaceholderTime};
    ::utimensat(dirFd, to, times, AT_SYMLINK_NOFOLLOW);
    return 0;
}

// The entry moves onto a placeholder made at its new name, which the rename replaces. Its old
// name is never unlinked, so a file another program saves there meanwhile stays, and the entry
// keeps its inode. A folder is looked at first, which the rename would do anyway, so a remote
// folder asks no more of its server than a link and an unlink would.
// With `expected`, renames only that entry, checked by that lookup (`numbers`: by inode number).
int RenameWithoutNoReplaceFlag(int dirFd, const char* from, const char* to,
                               const TFileIdentity* expected, bool numbers) {
    struct stat status {};
    if (::fstatat(dirFd, from, &status, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (expected && !expected->Matches(IdentityFrom(status, numbers))) return rrEntryReplaced;
    const bool isFolder = S_ISDIR(status.st_mode);
    if (const int error = ReservePlaceholder(dirFd, to, isFolder); error != 0) return error;
    if (g_renameAt2(dirFd, from, dirFd, to, 0) == 0) return 0;
    const int error = errno;
    ::unlinkat(dirFd, to, isFolder ? AT_REMOVEDIR : 0);
    return error;
}

// Whether `name` is a placeholder of ours: a link naming itself ours, or an empty entry of the
// placeholder time.
bool IsPlaceholder(int dirFd, const char* name) {
    struct stat status {};
    if (::fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISLNK(status.st_mode)) {
        char target[64];
        const ssize_t size = ::readlinkat(dirFd, name, target, sizeof target);
        return size >= 0 &&
               std::string_view(target, static_cast<std::size_t>(size)) == PlaceholderTarget;
    }
    const bool empty = S_ISDIR(status.st_mode) || (S_ISREG(status.st_mode) && status.st_size == 0);
    return empty && status.st_mtim.tv_sec == PlaceholderTime.tv_sec && status.st_mtim.tv_nsec == 0;
}

// statfs types that <linux/magic.h> does not name.
constexpr unsigned long FuseMagic = 0x65735546, ExfatMagic = 0x2011bab0;

// Volumes whose inode numbers and handles are a driver's counters (FUSE hands out node ids in
// lookup order, per mount) or an entry's place in its folder (FAT): a remount, a rename or a
// new file may give an entry another's number.
bool NumbersAreCounters(const struct statfs& volume) {
    constexpr unsigned long SmbMagic = 0x517b, Smb2Magic = 0xfe534d42, CifsMagic = 0xff534d42;
    switch (static_cast<unsigned long>(volume.f_type)) {
    case FuseMagic:
    case MSDOS_SUPER_MAGIC:
    case ExfatMagic:
    case SmbMagic:
    case Smb2Magic:
    case CifsMagic:
    case V9FS_MAGIC:
        return true;
    default:
        return false;
    }
}

// The handle of `name` (or of `dirFd` itself, for an empty name): its type, then its bytes.
int HandleOf(int dirFd, const char* name, std::string& handle) {
    alignas(file_handle) unsigned char buffer[sizeof(file_handle) + MAX_HANDLE_SZ];
    auto* found = reinterpret_cast<file_handle*>(buffer);
    found->handle_bytes = MAX_HANDLE_SZ;
    int mountId = 0;
    if (::name_to_handle_at(dirFd, name, found, &mountId, *name ? 0 : AT_EMPTY_PATH) != 0)
        return errno;
    handle.assign(reinterpret_cast<const char*>(&found->handle_type), sizeof found->handle_type);
    handle.append(reinterpret_cast<const char*>(found->f_handle), found->handle_bytes);
    return 0;
}

// The volume's own id, which a remount keeps: f_fsid, or the device number where it is unset.
std::uint64_t VolumeId(int fd, const struct statfs& volume) {
    std::uint32_t halves[2];
    static_assert(sizeof halves == sizeof volume.f_fsid);
    std::memcpy(halves, &volume.f_fsid, sizeof halves);
    const std::uint64_t id = std::uint64_t{halves[0]} << 32 | halves[1];
    struct stat status {};
    return id != 0 || ::fstat(fd, &status) != 0 ? id : status.st_dev;
}

// The type /proc/self/mountinfo gives the mount of device `device` ("fuseblk", "fuse.sshfs").
std::string MountType(dev_t device) {
    std::ifstream mounts("/proc/self/mountinfo");
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    for (std::string line; std::getline(mounts, line);) {
        std::istringstream fields(line);
        std::string id, parent, numbers, field;
        fields >> id >> parent >> numbers;
        if (numbers != wanted) continue;
        while (fields >> field && field != "-") {
        }
        fields >> field;
        return field;
    }
    return {};
}

// FAT, exFAT and NTFS: the kernel's drivers, or FUSE drivers of a block device.
bool IsWindowsVolume(int fd, const struct statfs& volume) {
    constexpr unsigned long Ntfs3Magic = 0x7366746e, NtfsMagic = 0x5346544e;
    const auto type = static_cast<unsigned long>(volume.f_type);
    if (type == MSDOS_SUPER_MAGIC || type == ExfatMagic || type == Ntfs3Magic || type == NtfsMagic)
        return true;
    struct stat status {};
    if (type != FuseMagic || ::fstat(fd, &status) != 0) return false;
    const std::string mount = MountType(status.st_dev);
    return mount == "fuseblk" || mount.starts_with("fuse.exfat") ||
           mount.starts_with("fuse.fusefat") || mount.starts_with("fuse.ntfs");
}

// Reads what the folder's volume keeps, and whether Windows reads it.
void MarkFolder(int fd, std::uint64_t& volumeId, std::string& handle, bool& windowsReads) {
    struct statfs volume {};
    if (::fstatfs(fd, &volume) != 0) return;
    windowsReads = IsWindowsVolume(fd, volume);
    if (NumbersAreCounters(volume) || HandleOf(fd, "", handle) != 0) {
        handle.clear();
        return;
    }
    volumeId = VolumeId(fd, volume);
}

} // namespace

int TRenameFolder::TOpen::RenameOnce(const std::string& from, const std::string& to,
                                     const TFileIdentity* expected) {
    const int fd = Fd.get();
    const bool numbers = !Handle.empty();
    if (Ahead) Ahead->RenameStarted();
    if (NoReplaceRefused)
        return RenameWithoutNoReplaceFlag(fd, from.c_str(), to.c_str(), expected, numbers);
    if (expected) {
        struct stat status {};
        if (::fstatat(fd, from.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return errno;
        if (!expected->Matches(IdentityFrom(status, numbers))) return rrEntryReplaced;
    }
    if (g_renameAt2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    const int error = errno; // capture before anything else can overwrite it
    if (error != EINVAL) return error;
    // EINVAL also answers a folder moved into itself; only a fallback that does not answer
    // the same shows that the flag itself was refused.
    const int fallbackError =
        RenameWithoutNoReplaceFlag(fd, from.c_str(), to.c_str(), nullptr, numbers);
    NoReplaceRefused = fallbackError != EINVAL;
    if (NoReplaceRefused && ComingNames) Ahead = std::make_unique<TLookAhead>(fd, ComingNames());
    return fallbackError;
}

TRenameFolder::TRenameFolder(const std::string& path) {
    TFd fd = OpenAbsolute(path, O_PATH | O_DIRECTORY);
    if (fd.valid()) {
        m_open = std::make_unique<TOpen>();
        m_open->Fd = std::move(fd);
        MarkFolder(m_open->Fd.get(), m_open->Volume, m_open->Handle, m_open->WindowsReads);
    } else {
        m_openError = errno;
    }
}

TRenameFolder::~TRenameFolder() = default;

void TRenameFolder::LookAhead(std::function<std::vector<std::string>()> comingNames) {
    if (m_open) m_open->ComingNames = std::move(comingNames);
}

int TRenameFolder::RenameNoReplace(const std::string& from, const std::string& to,
                                   const TFileIdentity& expected) const {
    if (!m_open) return m_openError;
    TOpen& open = *m_open;
    if (expected.Known() && !expected.Handle.empty()) {
        TFileIdentity found;
        if (const int error = IdentityOf(from, found, &expected); error != 0) return error;
        if (!expected.Matches(found)) return rrEntryReplaced;
    }
    // Any other identity is checked by the lookup the rename makes anyway where the flag is
    // refused (a round trip on a remote folder), else by one of its own.
    const bool byLookup = expected.Known() && expected.Handle.empty();
    return open.RenameOnce(from, to, byLookup ? &expected : nullptr);
}

bool TRenameFolder::Identity(std::uint64_t& device, std::uint64_t& inode) const {
    struct stat status {};
    if (!m_open || ::fstat(m_open->Fd.get(), &status) != 0) return false;
    device = status.st_dev;
    inode = status.st_ino;
    return true;
}

bool TRenameFolder::WindowsReads() const {
    return m_open && m_open->WindowsReads;
}

bool TRenameFolder::KeepsHandles() const {
    return m_open && !m_open->Handle.empty();
}

void TRenameFolder::Mark(std::uint64_t& volume, std::string& handle) const {
    volume = m_open ? m_open->Volume : 0;
    handle = m_open ? m_open->Handle : std::string();
}

int TRenameFolder::IdentityOf(const std::string& name, TFileIdentity& identity,
                              const TFileIdentity* like) const {
    if (!m_open) return m_openError;
    const int fd = m_open->Fd.get();
    if (KeepsHandles() && (!like || !like->Handle.empty())) {
        identity = {};
        return HandleOf(fd, name.c_str(), identity.Handle);
    }
    struct stat status {};
    if (::fstatat(fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    identity = ShapeOf(status);
    if (KeepsHandles()) identity.Number = status.st_ino;
    return 0;
}

int TRenameFolder::ReadNames(const std::function<void(std::string_view)>& each) const {
    if (!m_open) return m_openError;
    const int fd = ::openat(m_open->Fd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* stream = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!stream) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        return error;
    }
    errno = 0;
    while (const dirent* item = ::readdir(stream)) {
        each(item->d_name);
        errno = 0;
    }
    const int error = errno;
    ::closedir(stream);
    return error;
}

int TRenameFolder::RemovePlaceholder(const std::string& name) const {
    if (!m_open) return m_openError;
    const int fd = m_open->Fd.get();
    if (!IsPlaceholder(fd, name.c_str())) return ENOENT;
    if (::unlinkat(fd, name.c_str(), 0) == 0) return 0;
    return ::unlinkat(fd, name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

int TRenameFolder::Sync() const {
    if (!m_open) return m_openError;
    // The folder is held with O_PATH, which can't be synced: sync a readable twin.
    const TFd readable(::openat(m_open->Fd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!readable.valid()) return errno;
    return ::fsync(readable.get()) == 0 ? 0 : errno;
}

} // namespace engine::platform
