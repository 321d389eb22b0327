#include "engine/platform/held_folder_win.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace engine::platform {

// Sharing binds only handles that may read or write: attribute access alone would not.
THeldFolder::THeldFolder(const std::wstring& path, DWORD extraSharing)
    : m_handle(::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | extraSharing, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {
    if (m_handle == INVALID_HANDLE_VALUE) m_openError = static_cast<int>(::GetLastError());
    m_sharesDelete = (extraSharing & FILE_SHARE_DELETE) != 0;
}

THeldFolder::~THeldFolder() {
    if (IsOpen()) ::CloseHandle(m_handle);
}

bool THeldFolder::ReadIdentity(std::uint64_t& device, std::uint64_t& inode) const {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!IsOpen() || !::GetFileInformationByHandle(m_handle, &information)) return false;
    device = information.dwVolumeSerialNumber;
    inode =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
}

bool THeldFolder::KeepsFileIds() const {
    wchar_t name[MAX_PATH + 1] = {};
    if (!IsOpen() || !::GetVolumeInformationByHandleW(m_handle, nullptr, 0, nullptr, nullptr,
                                                      nullptr, name, MAX_PATH + 1))
        return false;
    const std::wstring_view system(name);
    return system != L"FAT" && system != L"FAT32" && system != L"exFAT";
}

std::string FileIdHandle(std::uint64_t id) {
    std::string bytes(sizeof id, '\0');
    for (std::size_t i = 0; i < sizeof id; ++i, id >>= 8)
        bytes[i] = static_cast<char>(id & 0xff);
    return bytes;
}

TFileIdentity IdentityOf(const FILE_ID_BOTH_DIR_INFO& item) {
    if (item.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return {.Handle = FileIdHandle(static_cast<std::uint64_t>(item.FileId.QuadPart)),
                .HasShape = true,
                .IsFolder = true};
    return {.Handle = FileIdHandle(static_cast<std::uint64_t>(item.FileId.QuadPart)),
            .Size = static_cast<std::uint64_t>(item.EndOfFile.QuadPart),
            .Modified = item.LastWriteTime.QuadPart,
            .HasShape = true};
}

bool THeldFolder::ReadEntries(
    const std::function<void(const FILE_ID_BOTH_DIR_INFO&)>& visit) const {
    if (!IsOpen()) return false;
    std::vector<std::uint64_t> buffer(64 * 1024 / sizeof(std::uint64_t));
    const auto bytes = static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t));
    auto kind = FileIdBothDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(m_handle, kind, buffer.data(), bytes)) {
        kind = FileIdBothDirectoryInfo;
        const auto* at = reinterpret_cast<const std::byte*>(buffer.data());
        for (;;) {
            const auto* item = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            visit(*item);
            if (item->NextEntryOffset == 0) break;
            at += item->NextEntryOffset;
        }
    }
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

std::unique_ptr<THeldFolder> HoldFolder(const std::wstring& path) {
    auto held = std::make_unique<THeldFolder>(path);
    if (held->OpenError() == ERROR_SHARING_VIOLATION)
        held = std::make_unique<THeldFolder>(path, FILE_SHARE_DELETE);
    return held;
}

int THeldFolder::Flush() const {
    if (!IsOpen()) return m_openError;
    const HANDLE writable = ::ReOpenFile(m_handle, GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         FILE_FLAG_BACKUP_SEMANTICS);
    if (writable == INVALID_HANDLE_VALUE) return static_cast<int>(::GetLastError());
    const int error = ::FlushFileBuffers(writable) ? 0 : static_cast<int>(::GetLastError());
    ::CloseHandle(writable);
    return error;
}

} // namespace engine::platform
