#include "engine/platform/rename_folder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include <windows.h>
#include <winternl.h>

#include "engine/platform/held_folder_win.h"
#include "engine/platform/platform.h"
#include "engine/platform/wide_win.h"

namespace engine::platform {
namespace {

// NTFS, FAT and exFAT hold names of at most 255 UTF-16 units; what lies below would refuse a
// longer one with a less telling error.
bool HoldsOverlongName(std::wstring_view path) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(L'\\', start);
        if ((end == std::wstring_view::npos ? path.size() : end) - start > 255) return true;
        if (end == std::wstring_view::npos) return false;
        start = end + 1;
    }
}

std::wstring_view LastPart(std::wstring_view path) {
    return path.substr(path.rfind(L'\\') + 1);
}

int ErrorOf(NTSTATUS status) {
    return static_cast<int>(::RtlNtStatusToDosError(status));
}

// A name relative to the folder as the system takes it: "\" between names. Empty when it is no
// WTF-8.
std::wstring RelativeName(std::string_view name) {
    std::wstring wide = Wide(name);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

// One entry opened below the held folder, never through a link: what it is renamed through.
class TEntry {
public:
    TEntry(HANDLE folder, const std::wstring& name) {
        UNICODE_STRING text{static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                            static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                            const_cast<PWSTR>(name.c_str())};
        OBJECT_ATTRIBUTES attributes;
        InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
        IO_STATUS_BLOCK io{};
        const NTSTATUS status = ::NtCreateFile(
            &m_handle, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, &attributes, &io, nullptr, 0,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
            FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT,
            nullptr, 0);
        if (!NT_SUCCESS(status)) {
            m_handle = nullptr;
            m_error = name.empty() || name.size() > 32767 ? ERROR_INVALID_NAME : ErrorOf(status);
        }
    }
    ~TEntry() {
        if (m_handle) ::CloseHandle(m_handle);
    }
    TEntry(const TEntry&) = delete;
    TEntry& operator=(const TEntry&) = delete;

    int Error() const { return m_error; }

    // The entry's file id. Its volume is the folder's, as no rename crosses volumes; asking
    // for the volume's serial too would cost a volume query per rename.
    int ReadFileId(std::uint64_t& id) const {
        FILE_INTERNAL_INFORMATION information{};
        IO_STATUS_BLOCK io{};
        const NTSTATUS status = ::NtQueryInformationFile(
            m_handle, &io, &information, sizeof information, FileInternalInformation);
        if (!NT_SUCCESS(status)) return ErrorOf(status);
        id = static_cast<std::uint64_t>(information.IndexNumber.QuadPart);
        return 0;
    }

    // The entry's size and time: its identity on a volume that keeps no file ids.
    int ReadShape(TFileIdentity& identity) const {
        BY_HANDLE_FILE_INFORMATION information{};
        if (!::GetFileInformationByHandle(m_handle, &information))
            return static_cast<int>(::GetLastError());
        if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            identity = {.HasShape = true, .IsFolder = true};
            return 0;
        }
        const FILETIME& written = information.ftLastWriteTime;
        identity = {.Size =
                        std::uint64_t{information.nFileSizeHigh} << 32 | information.nFileSizeLow,
                    .Modified = static_cast<std::int64_t>(
                        std::uint64_t{written.dwHighDateTime} << 32 | written.dwLowDateTime),
                    .HasShape = true};
        return 0;
    }

    // The entry's identity as its volume keeps it: by file id where `byFileId`.
    int ReadIdentity(bool byFileId, TFileIdentity& identity) const {
        if (!byFileId) return ReadShape(identity);
        std::uint64_t id = 0;
        if (const int error = ReadFileId(id); error != 0) return error;
        identity = {.Handle = FileIdHandle(id)};
        return 0;
    }

    // Whether the system names the entry `name` (the last part of its path) now, exactly. A
    // name that can't be read counts as the one asked for.
    bool IsNamed(std::wstring_view name) const {
        std::vector<std::byte> buffer(sizeof(FILE_NAME_INFO) + 32768 * sizeof(wchar_t));
        auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
        if (!::GetFileInformationByHandleEx(m_handle, FileNameInfo, info,
                                            static_cast<DWORD>(buffer.size())))
            return true;
        const std::wstring_view path(info->FileName, info->FileNameLength / sizeof(wchar_t));
        return LastPart(path) == name;
    }

    // Renames the entry to `target`, relative to `folder`, never replacing anything: the
    // rename follows the folder held, wherever it has been moved.
    int RenameTo(HANDLE folder, const std::wstring& target) const {
        const std::size_t bytes = target.size() * sizeof(wchar_t);
        // Never shorter than the structure itself, which the system checks first.
        std::vector<std::byte> buffer(std::max(
            sizeof(FILE_RENAME_INFORMATION), offsetof(FILE_RENAME_INFORMATION, FileName) + bytes));
        auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
        info->ReplaceIfExists = FALSE;
        info->RootDirectory = folder;
        info->FileNameLength = static_cast<ULONG>(bytes);
        std::memcpy(info->FileName, target.data(), bytes);
        IO_STATUS_BLOCK io{};
        const NTSTATUS status =
            ::NtSetInformationFile(m_handle, &io, info, static_cast<ULONG>(buffer.size()),
                                   static_cast<FILE_INFORMATION_CLASS>(FileRenameInformation));
        return NT_SUCCESS(status) ? 0 : ErrorOf(status);
    }

private:
    HANDLE m_handle = nullptr;
    int m_error = 0;
};

bool IsCaseOnly(std::wstring_view a, std::wstring_view b) {
    return a != b && ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                            static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Renames `entry` to `target`. A rename that the system answers as done while the entry keeps
// its name found the entry already there: another program renamed it, and it is not this
// rename's. Except for a case-only rename, which some file systems (and Wine) take as done
// without changing it: the entry itself holds the name, as a volume that ignores case answers
// from Linux.
int RenameAndCheck(const TEntry& entry, HANDLE folder, const std::wstring& source,
                   const std::wstring& target) {
    const int error = entry.RenameTo(folder, target);
    if (error != 0 || entry.IsNamed(LastPart(target))) return error;
    return IsCaseOnly(source, target) ? ERROR_ALREADY_EXISTS : ERROR_FILE_NOT_FOUND;
}

} // namespace

// The folder is held, so nobody can move, rename or delete it while a batch runs in it unless
// another program already held it with delete access; either way every rename goes through
// the folder held, never through its path.
struct TRenameFolder::TOpen {
    std::unique_ptr<THeldFolder> Folder;
    std::wstring Path;
    // Held sharing delete, because another program held it with delete access: it may be
    // swapped, and Wine resolves a rename's target below a held folder by the folder's path,
    // so each rename first checks that the path still names the folder held.
    bool MayBeSwapped = false;
    std::uint64_t Volume = 0, FileIndex = 0;
    bool KeepsFileIds = false;

    bool IsSwapped() const {
        if (!MayBeSwapped) return false;
        const THeldFolder now(Path, FILE_SHARE_DELETE);
        std::uint64_t volume = 0, index = 0;
        return !now.ReadIdentity(volume, index) || volume != Volume || index != FileIndex;
    }
    // Reads identities as the volume keeps them, file ids where `like` has one.
    bool ByFileId(const TFileIdentity* like) const {
        return KeepsFileIds && (!like || !like->Handle.empty());
    }
};

TRenameFolder::TRenameFolder(const std::string& path) {
    std::string folder = path;
    if (folder.empty() || !IsSeparator(folder.back())) folder += FolderSeparator;
    const std::wstring wide = SystemPath(folder);
    if (wide.empty()) {
        m_openError = ERROR_INVALID_NAME;
        return;
    }
    auto held = HoldFolder(wide);
    if (!held->IsOpen()) {
        m_openError = held->OpenError();
        return;
    }
    m_open = std::make_unique<TOpen>();
    m_open->MayBeSwapped = held->SharesDelete();
    held->ReadIdentity(m_open->Volume, m_open->FileIndex);
    m_open->KeepsFileIds = held->KeepsFileIds();
    m_open->Folder = std::move(held);
    m_open->Path = wide;
}

TRenameFolder::~TRenameFolder() = default;

int TRenameFolder::RenameNoReplace(const std::string& from, const std::string& to,
                                   const TFileIdentity& expected) const {
    if (!m_open) return m_openError;
    const std::wstring source = RelativeName(from), target = RelativeName(to);
    if (source.empty() || target.empty()) return ERROR_INVALID_NAME;
    if (HoldsOverlongName(target)) return ERROR_FILENAME_EXCED_RANGE;
    if (m_open->IsSwapped()) return rrFolderReplaced;
    const HANDLE folder = m_open->Folder->Handle();
    const TEntry entry(folder, source);
    if (entry.Error() != 0) return entry.Error();
    if (expected.Known()) {
        TFileIdentity found;
        if (const int error = entry.ReadIdentity(m_open->ByFileId(&expected), found); error != 0)
            return error;
        if (!expected.Matches(found)) return rrEntryReplaced;
    }
    return RenameAndCheck(entry, folder, source, target);
}

// Every Windows file system renames without replacing in one call: nothing waits on an entry.
void TRenameFolder::LookAhead(std::function<std::vector<std::string>()>) {}

bool TRenameFolder::WindowsReads() const {
    return false;
}

bool TRenameFolder::KeepsHandles() const {
    return m_open && m_open->KeepsFileIds;
}

void TRenameFolder::Mark(std::uint64_t& volume, std::string& handle) const {
    volume = KeepsHandles() ? m_open->Volume : 0;
    handle = KeepsHandles() ? FileIdHandle(m_open->FileIndex) : std::string();
}

int TRenameFolder::IdentityOf(const std::string& name, TFileIdentity& identity,
                              const TFileIdentity* like) const {
    if (!m_open) return m_openError;
    const TEntry entry(m_open->Folder->Handle(), RelativeName(name));
    if (entry.Error() != 0) return entry.Error();
    return entry.ReadIdentity(m_open->ByFileId(like), identity);
}

int TRenameFolder::ReadNames(const std::function<void(std::string_view)>& each) const {
    if (!m_open) return m_openError;
    const bool complete = m_open->Folder->ReadEntries([&](const FILE_ID_BOTH_DIR_INFO& item) {
        each(Narrow(std::wstring_view(item.FileName, item.FileNameLength / sizeof(wchar_t))));
    });
    return complete ? 0 : static_cast<int>(::GetLastError());
}

// Every Windows volume renames without replacing in one call: no placeholder is ever made.
int TRenameFolder::RemovePlaceholder(const std::string&) const {
    return ERROR_FILE_NOT_FOUND;
}

bool TRenameFolder::Identity(std::uint64_t& device, std::uint64_t& inode) const {
    return m_open && m_open->Folder->ReadIdentity(device, inode);
}

// The folder's renames reach the disk where the volume lets a folder be flushed (NTFS keeps
// them through its own log anyway); a volume that refuses is not an error.
int TRenameFolder::Sync() const {
    if (!m_open) return m_openError;
    m_open->Folder->Flush();
    return 0;
}

} // namespace engine::platform
