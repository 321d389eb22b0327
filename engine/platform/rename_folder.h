#pragma once
// Renames inside one listed folder that never replace an existing entry. The only code of the
// batch rename that calls the system.

#include <cstdint>
#include <memory>
#include <string>

namespace engine::platform {

// A folder held open for renames inside it. On POSIX the renames are relative to the open
// folder, so a run resolves the folder's path once; on Windows the open handle keeps the folder
// from being moved or deleted while the run holds it.
class TRenameFolder {
public:
    // Opens `path`; never throws. OpenError() tells whether it worked.
    explicit TRenameFolder(const std::string& path);
    ~TRenameFolder();
    TRenameFolder(const TRenameFolder&) = delete;
    TRenameFolder& operator=(const TRenameFolder&) = delete;

    // 0, or the system's error code of opening the folder.
    int OpenError() const { return m_openError; }

    // Renames `from` to `to`, both relative to the folder. Returns 0 or the system's error
    // code; never replaces an existing entry. Changes the disk.
    int RenameNoReplace(const std::string& from, const std::string& to) const;

    // The open folder's identity (device and inode, or volume serial and file index); false
    // when it is not open.
    bool Identity(std::uint64_t& device, std::uint64_t& inode) const;
    // Whether `name`, relative to the folder, names an entry (links not followed).
    bool Holds(const std::string& name) const;
    // Makes the folder's renames survive a power cut. Returns 0 or the error code.
    int Sync() const;

private:
    struct TOpen; // the platform's open folder
    std::unique_ptr<TOpen> m_open;
    int m_openError = 0;
};

} // namespace engine::platform
