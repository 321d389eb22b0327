#include "engine/platform/journal_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/platform/fd_linux.h"

namespace engine::platform {

int MakeFolderPath(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (slash == std::string::npos) return 0;
    }
}

struct TJournalFile::TOpen {
    TFd Folder;
    TFd File;
    std::string Name;
};

namespace {

// An OFD lock belongs to the opening, not the process: two windows of one process, or a
// probe of the same process, see each other's locks.
struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

int Lock(int fd, bool wait) {
    struct flock lock = WholeFile(F_WRLCK);
    while (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) != 0)
        if (errno != EINTR) return errno == EACCES ? EAGAIN : errno;
    return 0;
}

int OpenJournal(const std::string& folder, const std::string& name, int flags, bool wait,
                std::unique_ptr<TJournalFile::TOpen>& open) {
    TFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.valid()) return errno;
    TFd fileFd(::openat(folderFd.get(), name.c_str(), flags | O_RDWR | O_APPEND | O_CLOEXEC, 0600));
    if (!fileFd.valid()) return errno;
    if (const int error = Lock(fileFd.get(), wait); error != 0) return error;
    // A journal removed while we waited for its lock (pruned as empty) is no journal.
    struct stat status {};
    if (::fstat(fileFd.get(), &status) != 0) return errno;
    if (status.st_nlink == 0) return (flags & O_EXCL) ? EEXIST : ENOENT;
    open = std::make_unique<TJournalFile::TOpen>(
        TJournalFile::TOpen{std::move(folderFd), std::move(fileFd), name});
    return 0;
}

int ReadAt(int fd, std::string& bytes, std::size_t size, off_t offset) {
    bytes.resize(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t read =
            ::pread(fd, bytes.data() + got, size - got, offset + static_cast<off_t>(got));
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) return errno;
        if (read == 0) break;
        got += static_cast<std::size_t>(read);
    }
    bytes.resize(got);
    return 0;
}

} // namespace

TJournalFile::TJournalFile() = default;
TJournalFile::~TJournalFile() = default;

int TJournalFile::Create(const std::string& folder, const std::string& name) {
    return OpenJournal(folder, name, O_CREAT | O_EXCL, true, m_open);
}

int TJournalFile::Open(const std::string& folder, const std::string& name) {
    return OpenJournal(folder, name, O_NOFOLLOW, false, m_open);
}

int TJournalFile::Read(std::string& bytes, std::size_t maxBytes) const {
    if (!m_open) return EBADF;
    struct stat status {};
    if (::fstat(m_open->File.get(), &status) != 0) return errno;
    if (static_cast<std::uint64_t>(status.st_size) > maxBytes) return EFBIG;
    return ReadAt(m_open->File.get(), bytes, static_cast<std::size_t>(status.st_size), 0);
}

int TJournalFile::ReadPart(std::string& bytes, std::size_t maxBytes, bool fromEnd) const {
    if (!m_open) return EBADF;
    struct stat status {};
    if (::fstat(m_open->File.get(), &status) != 0) return errno;
    const auto size = static_cast<std::uint64_t>(status.st_size);
    const std::uint64_t length = std::min<std::uint64_t>(size, maxBytes);
    return ReadAt(m_open->File.get(), bytes, static_cast<std::size_t>(length),
                  fromEnd ? static_cast<off_t>(size - length) : 0);
}

int TJournalFile::Append(std::string_view bytes) const {
    if (!m_open) return EBADF;
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_open->File.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int TJournalFile::Sync() const {
    if (!m_open) return EBADF;
    if (::fsync(m_open->File.get()) != 0 || ::fsync(m_open->Folder.get()) != 0) return errno;
    return 0;
}

int TJournalFile::Remove() {
    if (!m_open) return EBADF;
    const int error = ::unlinkat(m_open->Folder.get(), m_open->Name.c_str(), 0) == 0 ? 0 : errno;
    m_open.reset();
    return error;
}

bool IsJournalBusy(int error) {
    return error == EAGAIN;
}

bool IsJournalLocked(const std::string& path) {
    const TFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct flock lock = WholeFile(F_WRLCK);
    return fd.valid() && ::fcntl(fd.get(), F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

std::vector<std::string> FolderFileNames(const std::string& folder) {
    std::vector<std::string> names;
    const TFd fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid() && ListNames(fd.get(), names) != 0) names.clear();
    return names;
}

int ReadFileBytes(const std::string& path, std::string& bytes, std::size_t maxBytes, bool fromEnd) {
    const TFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0) return errno;
    auto size = static_cast<std::uint64_t>(status.st_size);
    off_t offset = 0;
    if (maxBytes != 0 && size > maxBytes) {
        offset = fromEnd ? static_cast<off_t>(size - maxBytes) : 0;
        size = maxBytes;
    }
    return ReadAt(fd.get(), bytes, static_cast<std::size_t>(size), offset);
}

} // namespace engine::platform
