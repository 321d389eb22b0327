#pragma once
// Renames inside one listed folder that never replace an existing entry. The only code of the
// batch rename that calls the system.

#include <cstdint>
#include <string>

namespace engine::platform {

// A folder held open for renames relative to it, so a run resolves the folder's path once.
class TRenameFolder {
public:
    // Opens `path`; never throws. OpenError() tells whether it worked.
    explicit TRenameFolder(const std::string& path);
    ~TRenameFolder();
    TRenameFolder(const TRenameFolder&) = delete;
    TRenameFolder& operator=(const TRenameFolder&) = delete;

    // 0, or the errno of opening the folder.
    int OpenError() const { return m_openError; }

    // Renames `from` to `to`, both relative to the folder. Returns 0 or the errno of the
    // failure; never replaces an existing entry, also where the file system lacks
    // RENAME_NOREPLACE. Changes the disk.
    int RenameNoReplace(const char* from, const char* to) const;

    // The open folder's device and inode; false when it is not open (folder_state_posix.cpp).
    bool Identity(std::uint64_t& device, std::uint64_t& inode) const;
    // Whether `name`, relative to the folder, names an entry (links not followed).
    bool Holds(const char* name) const;
    // Syncs the folder, so its renames survive a power cut. Returns 0 or errno.
    int Sync() const;

private:
    int m_fd = -1;
    int m_openError = 0;
};

// Test seams: the calls RenameNoReplace goes through, swapped by tests to act like a file
// system without RENAME_NOREPLACE or without hard links (as fmt's posix-mock does).
using TRenameAt2Call = int (*)(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath,
                               unsigned flags);
using TLinkAtCall = int (*)(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath,
                            int flags);
extern TRenameAt2Call g_renameAt2;
extern TLinkAtCall g_linkAt;

} // namespace engine::platform
