#include "engine/platform/rename_folder.h"

#include <windows.h>

#include "engine/platform/platform.h"
#include "engine/platform/wide_win32.h"

namespace engine::platform {
namespace {

HANDLE OpenFolder(const std::wstring& path, DWORD sharing) {
    return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, sharing, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

} // namespace

// The folder is held without delete sharing, so nobody can move, rename or delete it while a
// batch runs in it; the entries inside stay free to rename.
struct TRenameFolder::TOpen {
    std::string Path; // the folder as given, ending in a separator
    HANDLE Handle = INVALID_HANDLE_VALUE;
    ~TOpen() { ::CloseHandle(Handle); }

    std::wstring PathOf(const std::string& name) const { return SystemPath(Path + name); }
};

TRenameFolder::TRenameFolder(const std::string& path) {
    std::string folder = path;
    if (folder.empty() || !IsSeparator(folder.back())) folder += FolderSeparator;
    const std::wstring wide = SystemPath(folder);
    if (wide.empty()) {
        m_openError = ERROR_INVALID_NAME;
        return;
    }
    HANDLE handle = OpenFolder(wide, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION)
        handle = OpenFolder(wide, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (handle == INVALID_HANDLE_VALUE) {
        m_openError = static_cast<int>(::GetLastError());
        return;
    }
    m_open = std::make_unique<TOpen>();
    m_open->Path = std::move(folder);
    m_open->Handle = handle;
}

TRenameFolder::~TRenameFolder() = default;

int TRenameFolder::RenameNoReplace(const std::string& from, const std::string& to) const {
    if (!m_open) return m_openError;
    const std::wstring source = m_open->PathOf(from), target = m_open->PathOf(to);
    if (source.empty() || target.empty()) return ERROR_INVALID_NAME;
    // Without MOVEFILE_REPLACE_EXISTING the system refuses a taken name atomically.
    if (::MoveFileExW(source.c_str(), target.c_str(), 0)) return 0;
    return static_cast<int>(::GetLastError());
}

bool TRenameFolder::Identity(std::uint64_t& device, std::uint64_t& inode) const {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!m_open || !::GetFileInformationByHandle(m_open->Handle, &information)) return false;
    device = information.dwVolumeSerialNumber;
    inode = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
            information.nFileIndexLow;
    return true;
}

// Exactly `name`: names differ in case only after a case-only rename, which the undo must see.
bool TRenameFolder::Holds(const std::string& name) const {
    if (!m_open) return false;
    const std::wstring path = m_open->PathOf(name);
    WIN32_FIND_DATAW found{};
    const HANDLE search = path.empty() ? INVALID_HANDLE_VALUE
                                       : ::FindFirstFileExW(path.c_str(), FindExInfoBasic, &found,
                                                            FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    const std::size_t slash = name.find_last_of("\\/");
    return Narrow(found.cFileName) == (slash == std::string::npos ? name : name.substr(slash + 1));
}

// A folder held for reading can't be flushed; NTFS keeps renames consistent through its own
// log, and the journal file itself is flushed.
int TRenameFolder::Sync() const {
    return m_open ? 0 : m_openError;
}

} // namespace engine::platform
