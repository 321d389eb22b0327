#include "engine/platform/rename_folder.h"

#include <windows.h>

#include "engine/platform/held_folder_win32.h"
#include "engine/platform/platform.h"
#include "engine/platform/wide_win32.h"

namespace engine::platform {
namespace {

// NTFS, FAT and exFAT hold names of at most 255 UTF-16 units; what lies below would refuse a
// longer one with a less telling error, or the system would read it as a path not found.
bool HoldsOverlongName(std::wstring_view path) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(L'\\', start);
        if ((end == std::wstring_view::npos ? path.size() : end) - start > 255) return true;
        if (end == std::wstring_view::npos) return false;
        start = end + 1;
    }
}

bool IsCaseOnly(const std::string& from, const std::string& to) {
    const std::wstring a = Wide(from), b = Wide(to);
    return a != b && ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                            static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Some file systems (and Wine) take a rename to the same name in other case as done without
// changing it: go through a free name of our own, and come back if the second step fails.
int RenameCaseOnly(const std::wstring& source, const std::wstring& target) {
    const std::wstring between = source + L".zelvora-case-" + std::to_wstring(::GetTickCount64());
    if (!::MoveFileExW(source.c_str(), between.c_str(), 0))
        return static_cast<int>(::GetLastError());
    if (::MoveFileExW(between.c_str(), target.c_str(), 0)) return 0;
    const int error = static_cast<int>(::GetLastError());
    ::MoveFileExW(between.c_str(), source.c_str(), 0);
    return error;
}

} // namespace

// The folder is held, so nobody can move, rename or delete it while a batch runs in it; the
// entries inside stay free to rename.
struct TRenameFolder::TOpen {
    std::string Path; // the folder as given, ending in a separator
    std::unique_ptr<THeldFolder> Folder;

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
    auto held = std::make_unique<THeldFolder>(wide);
    if (held->OpenError() == ERROR_SHARING_VIOLATION)
        held = std::make_unique<THeldFolder>(wide, FILE_SHARE_DELETE);
    if (!held->IsOpen()) {
        m_openError = held->OpenError();
        return;
    }
    m_open = std::make_unique<TOpen>();
    m_open->Path = std::move(folder);
    m_open->Folder = std::move(held);
}

TRenameFolder::~TRenameFolder() = default;

int TRenameFolder::RenameNoReplace(const std::string& from, const std::string& to) const {
    if (!m_open) return m_openError;
    const std::wstring source = m_open->PathOf(from), target = m_open->PathOf(to);
    if (source.empty() || target.empty()) return ERROR_INVALID_NAME;
    if (HoldsOverlongName(target)) return ERROR_FILENAME_EXCED_RANGE;
    // Without MOVEFILE_REPLACE_EXISTING the system refuses a taken name atomically.
    if (!::MoveFileExW(source.c_str(), target.c_str(), 0))
        return static_cast<int>(::GetLastError());
    if (IsCaseOnly(from, to) && !Holds(to)) return RenameCaseOnly(source, target);
    return 0;
}

bool TRenameFolder::Identity(std::uint64_t& device, std::uint64_t& inode) const {
    return m_open && m_open->Folder->ReadIdentity(device, inode);
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
