#pragma once
// Renames inside one listed folder that never replace an existing entry. The only code of the
// batch rename that calls the system.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/platform/system_values.h"

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

    // Renames `from` to `to`, both relative to the folder. Returns 0, the system's error code
    // or a TRenameRefusal; never replaces an existing entry. With `expected` known, renames only
    // that entry: another one at `from` fails with rrEntryReplaced (Windows checks through the
    // handle it renames by, POSIX just before the rename). A case-only rename that the volume
    // takes for one onto the entry itself fails as a name taken (IsNameTaken), also where the
    // system answers it as done without changing the name (Wine). Changes the disk.
    int RenameNoReplace(const std::string& from, const std::string& to,
                        const TFileIdentity& expected = {}) const;
    // Where the folder's file system refuses RENAME_NOREPLACE (most remote ones do), each rename
    // takes several steps that wait on the server. From the rename that finds the flag refused
    // on, a thread then looks up the entries of the renames after it, a few renames ahead and
    // outside the folder's lock, so that a rename finds its entry fresh instead of asking the
    // server for it again. `comingNames` gives those entries in order; it is called at most
    // once, on the renaming thread, inside that rename. Changes nothing on the disk.
    void LookAhead(std::function<std::vector<std::string>()> comingNames);

    // Whether Windows reads the folder's volume, so that its names must be ones Windows can open
    // (on Linux: FAT, exFAT and NTFS, through the kernel or a FUSE driver). Windows itself
    // refuses such names, so there it is false.
    bool WindowsReads() const;
    // Whether the folder's volume keeps persistent handles (the rule is in engine/journal.h).
    bool KeepsHandles() const;
    // The identity of the entry `name` (links not followed), as the volume keeps it: its handle
    // where the volume keeps handles (and `like`, when given, has one), else its size and
    // modification time, with its inode number where the volume keeps handles. Returns 0 or
    // the error code.
    int IdentityOf(const std::string& name, TFileIdentity& identity,
                   const TFileIdentity* like = nullptr) const;
    // Calls `each` with the name of every entry of the folder, exactly as the folder holds it,
    // read in one pass; the name lives only for the call. Returns 0 or the error code.
    int ReadNames(const std::function<void(std::string_view)>& each) const;

    // The open folder's identity for this session (device and inode, or volume serial and file
    // index), which a remount may change; false when it is not open.
    bool Identity(std::uint64_t& device, std::uint64_t& inode) const;
    // How a journal knows the folder again, after a remount or a replug too: its volume's id
    // and its handle where the volume keeps handles, else 0 and empty (the path alone).
    void Mark(std::uint64_t& volume, std::string& handle) const;
    // Removes `name` when it is a placeholder of ours that a crash left where an entry was to
    // move (POSIX, on a volume without RENAME_NOREPLACE). Returns 0, or an error code when
    // there is none. Changes the disk.
    int RemovePlaceholder(const std::string& name) const;
    // Makes the folder's renames survive a power cut. Returns 0 or the error code.
    int Sync() const;

private:
    struct TOpen; // the platform's open folder
    std::unique_ptr<TOpen> m_open;
    int m_openError = 0;
};

} // namespace engine::platform
