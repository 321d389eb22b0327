#include "engine/platform/journal_files.h"

#include <algorithm>
#include <cstdint>

#include <windows.h>

#include "engine/platform/platform.h"
#include "engine/platform/wide_win.h"

namespace engine::platform {

struct TJournalFile::TOpen {
    HANDLE File = INVALID_HANDLE_VALUE;
    std::wstring Folder; // the journal folder's wide path, flushed with the journal
    ~TOpen() { ::CloseHandle(File); }
};

namespace {

constexpr int BusyTries = 20; // a reader of another window holds a journal for a moment only
constexpr DWORD BusyPause = 5;

int LastError() {
    return static_cast<int>(::GetLastError());
}

// The wide path of `folder` + `name`.
std::wstring JoinedPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsSeparator(folder.back())) return SystemPath(folder + name);
    return SystemPath(folder + FolderSeparator + name);
}

// A journal is opened sharing nothing: while a batch or an undo holds it, every other opening
// fails with a sharing violation, which is its lock. Writes go through to the disk.
int OpenJournal(const std::string& folder, const std::string& name, DWORD disposition,
                std::unique_ptr<TJournalFile::TOpen>& open) {
    const std::wstring path = JoinedPath(folder, name);
    if (path.empty()) return ERROR_INVALID_NAME;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < BusyTries; ++tries) {
        file = ::CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA | DELETE, 0, nullptr,
                             disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION) break;
        ::Sleep(BusyPause);
    }
    if (file == INVALID_HANDLE_VALUE) return LastError();
    open = std::make_unique<TJournalFile::TOpen>();
    open->File = file;
    open->Folder = SystemPath(folder);
    return 0;
}

int ReadAt(HANDLE file, std::string& bytes, std::uint64_t offset, std::size_t length) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) return LastError();
    bytes.resize(length);
    std::size_t got = 0;
    while (got < length) {
        DWORD read = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(length - got, 1u << 30));
        if (!::ReadFile(file, bytes.data() + got, chunk, &read, nullptr)) return LastError();
        if (read == 0) break;
        got += read;
    }
    bytes.resize(got);
    return 0;
}

std::uint64_t SizeOf(HANDLE file, int& error) {
    LARGE_INTEGER size{};
    error = ::GetFileSizeEx(file, &size) ? 0 : LastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

} // namespace

int MakeFolderPath(const std::string& path) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at < path.size() && !IsSeparator(path[at])) continue;
        const std::wstring part = SystemPath(path.substr(0, at));
        if (part.empty()) return ERROR_INVALID_NAME;
        const DWORD attributes = ::GetFileAttributesW(part.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue; // the drive, a share, or a folder made before
        if (!::CreateDirectoryW(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return LastError();
    }
    return 0;
}

TJournalFile::TJournalFile() = default;
TJournalFile::~TJournalFile() = default;

int TJournalFile::Create(const std::string& folder, const std::string& name) {
    return OpenJournal(folder, name, CREATE_NEW, m_open);
}

int TJournalFile::Open(const std::string& folder, const std::string& name) {
    return OpenJournal(folder, name, OPEN_EXISTING, m_open);
}

int TJournalFile::Read(std::string& bytes, std::size_t maxBytes) const {
    if (!m_open) return ERROR_INVALID_HANDLE;
    int error = 0;
    const std::uint64_t size = SizeOf(m_open->File, error);
    if (error != 0) return error;
    if (size > maxBytes) return ERROR_FILE_TOO_LARGE;
    return ReadAt(m_open->File, bytes, 0, static_cast<std::size_t>(size));
}

int TJournalFile::ReadPart(std::string& bytes, std::size_t maxBytes, bool fromEnd) const {
    if (!m_open) return ERROR_INVALID_HANDLE;
    int error = 0;
    const std::uint64_t size = SizeOf(m_open->File, error);
    if (error != 0) return error;
    const std::uint64_t length = std::min<std::uint64_t>(size, maxBytes);
    return ReadAt(m_open->File, bytes, fromEnd ? size - length : 0,
                  static_cast<std::size_t>(length));
}

int TJournalFile::Append(std::string_view bytes) const {
    if (!m_open) return ERROR_INVALID_HANDLE;
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(m_open->File, bytes.data(), chunk, &written, nullptr)) return LastError();
        bytes.remove_prefix(written);
    }
    return 0;
}

// The journal is written through; its folder's record of its name is flushed where the volume
// lets a folder be flushed (FAT and exFAT do; NTFS logs it anyway).
int TJournalFile::Sync() const {
    if (!m_open) return ERROR_INVALID_HANDLE;
    if (!::FlushFileBuffers(m_open->File)) return LastError();
    const HANDLE folder =
        ::CreateFileW(m_open->Folder.c_str(), GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE) {
        ::FlushFileBuffers(folder);
        ::CloseHandle(folder);
    }
    return 0;
}

int TJournalFile::Remove() {
    if (!m_open) return ERROR_INVALID_HANDLE;
    FILE_DISPOSITION_INFO disposition{TRUE};
    const int error = ::SetFileInformationByHandle(m_open->File, FileDispositionInfo, &disposition,
                                                   sizeof disposition)
                          ? 0
                          : LastError();
    m_open.reset();
    return error;
}

bool IsJournalBusy(int error) {
    return error == ERROR_SHARING_VIOLATION;
}

bool IsJournalLocked(const std::string& path) {
    const std::wstring wide = SystemPath(path);
    const HANDLE file = wide.empty()
                            ? INVALID_HANDLE_VALUE
                            : ::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES | GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_SHARING_VIOLATION;
    ::CloseHandle(file);
    return false;
}

std::vector<std::string> FolderFileNames(const std::string& folder) {
    std::vector<std::string> names;
    const std::wstring pattern = JoinedPath(folder, "*");
    WIN32_FIND_DATAW found{};
    const HANDLE search = pattern.empty()
                              ? INVALID_HANDLE_VALUE
                              : ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                                   FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(Narrow(name));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

int ReadFileBytes(const std::string& path, std::string& bytes, std::size_t maxBytes, bool fromEnd) {
    const std::wstring wide = SystemPath(path);
    const HANDLE file = wide.empty()
                            ? INVALID_HANDLE_VALUE
                            : ::CreateFileW(wide.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return wide.empty() ? ERROR_INVALID_NAME : LastError();
    LARGE_INTEGER size{};
    int error = ::GetFileSizeEx(file, &size) ? 0 : LastError();
    auto length = static_cast<std::size_t>(size.QuadPart);
    if (error == 0 && maxBytes != 0 && length > maxBytes) {
        LARGE_INTEGER offset{};
        offset.QuadPart = fromEnd ? static_cast<LONGLONG>(length - maxBytes) : 0;
        if (!::SetFilePointerEx(file, offset, nullptr, FILE_BEGIN)) error = LastError();
        length = maxBytes;
    }
    bytes.resize(error == 0 ? length : 0);
    std::size_t got = 0;
    while (error == 0 && got < length) {
        DWORD read = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(length - got, 1u << 30));
        if (!::ReadFile(file, bytes.data() + got, chunk, &read, nullptr)) error = LastError();
        if (read == 0) break;
        got += read;
    }
    bytes.resize(got);
    ::CloseHandle(file);
    return error;
}

} // namespace engine::platform
