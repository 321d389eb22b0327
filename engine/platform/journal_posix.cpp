#include "engine/platform/journal_posix.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/platform/posix_fd.h"

namespace engine::platform {

int MakeFolderPath(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (slash == std::string::npos) return 0;
    }
}

TJournalFile::~TJournalFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (m_folderFd >= 0) ::close(m_folderFd);
}

int TJournalFile::open(const std::string& folder, const std::string& name, int flags) {
    m_folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0) return errno;
    m_fd = ::openat(m_folderFd, name.c_str(), flags | O_WRONLY | O_APPEND | O_CLOEXEC, 0600);
    return m_fd < 0 ? errno : 0;
}

int TJournalFile::Create(const std::string& folder, const std::string& name) {
    return open(folder, name, O_CREAT | O_EXCL);
}

int TJournalFile::Open(const std::string& folder, const std::string& name) {
    return open(folder, name, O_NOFOLLOW);
}

int TJournalFile::Append(std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int TJournalFile::Sync() const {
    if (::fsync(m_fd) != 0 || ::fsync(m_folderFd) != 0) return errno;
    return 0;
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
    auto size = static_cast<std::size_t>(status.st_size);
    off_t offset = 0;
    if (maxBytes != 0 && size > maxBytes) {
        offset = fromEnd ? static_cast<off_t>(size - maxBytes) : 0;
        size = maxBytes;
    }
    bytes.resize(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t read =
            ::pread(fd.get(), bytes.data() + got, size - got, offset + static_cast<off_t>(got));
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) return errno;
        if (read == 0) break;
        got += static_cast<std::size_t>(read);
    }
    bytes.resize(got);
    return 0;
}

int RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

} // namespace engine::platform
