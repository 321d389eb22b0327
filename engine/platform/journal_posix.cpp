#include "engine/platform/journal_files.h"

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

struct TJournalFile::TOpen {
    TFd Folder;
    TFd File;
};

namespace {

int OpenJournal(const std::string& folder, const std::string& name, int flags,
                std::unique_ptr<TJournalFile::TOpen>& open) {
    TFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.valid()) return errno;
    TFd fileFd(::openat(folderFd.get(), name.c_str(), flags | O_WRONLY | O_APPEND | O_CLOEXEC, 0600));
    if (!fileFd.valid()) return errno;
    open = std::make_unique<TJournalFile::TOpen>();
    open->Folder = std::move(folderFd);
    open->File = std::move(fileFd);
    return 0;
}

} // namespace

TJournalFile::TJournalFile() = default;
TJournalFile::~TJournalFile() = default;

int TJournalFile::Create(const std::string& folder, const std::string& name) {
    return OpenJournal(folder, name, O_CREAT | O_EXCL, m_open);
}

int TJournalFile::Open(const std::string& folder, const std::string& name) {
    return OpenJournal(folder, name, O_NOFOLLOW, m_open);
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
