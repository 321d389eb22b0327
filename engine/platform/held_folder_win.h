#pragma once
// A folder held open while the engine lists it or renames in it: others may read and write in
// it but, without delete sharing, not move, rename or delete it meanwhile.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <windows.h>

#include "engine/platform/system_values.h"

namespace engine::platform {

class THeldFolder {
public:
    // `extraSharing`: FILE_SHARE_DELETE where the folder must be opened even though another
    // program already holds it with delete access.
    explicit THeldFolder(const std::wstring& path, DWORD extraSharing = 0);
    ~THeldFolder();
    THeldFolder(const THeldFolder&) = delete;
    THeldFolder& operator=(const THeldFolder&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return m_handle; }
    bool SharesDelete() const { return m_sharesDelete; }
    // The system's error code when the folder could not be opened, else 0.
    int OpenError() const { return m_openError; }
    // The volume serial and file index; false, leaving both as they were, when unknown.
    bool ReadIdentity(std::uint64_t& device, std::uint64_t& inode) const;
    // Calls `visit` with every entry of the folder ("." and ".." included), from the first:
    // names, times, attributes and file ids in one pass. False when reading stopped early.
    bool ReadEntries(const std::function<void(const FILE_ID_BOTH_DIR_INFO&)>& visit) const;
    // Whether the folder's volume keeps file ids across renames: every volume but FAT and
    // exFAT, whose ids follow an entry's place in its folder.
    bool KeepsFileIds() const;
    // Flushes the folder's own records (its names) where the volume allows a folder to be
    // flushed; returns 0 or the error code.
    int Flush() const;

private:
    HANDLE m_handle;
    int m_openError = 0;
    bool m_sharesDelete = false;
};

// A file id as an identity's handle: its eight bytes, low first. Pure.
std::string FileIdHandle(std::uint64_t id);

// The identity of an entry as its folder's listing gives it: file id, size and time. Pure.
TFileIdentity IdentityOf(const FILE_ID_BOTH_DIR_INFO& item);

// `path` held: without delete sharing, or with it where another program already holds the
// folder with delete access. Check IsOpen().
std::unique_ptr<THeldFolder> HoldFolder(const std::wstring& path);

} // namespace engine::platform
