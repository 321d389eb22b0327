#pragma once
// The system calls TRenameFolder goes through on POSIX, as seams for the tests.

#include <string_view>

namespace engine::platform {

// The target of the symbolic link a rename without RENAME_NOREPLACE reserves its new name with.
inline constexpr std::string_view PlaceholderTarget = "zelvora: a rename in progress";

// Test seams: the calls RenameNoReplace goes through, swapped by tests to act like a file
// system without RENAME_NOREPLACE or without symbolic links (as fmt's posix-mock does).
using TRenameAt2Call = int (*)(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath,
                               unsigned flags);
using TSymlinkAtCall = int (*)(const char* target, int newDirFd, const char* linkPath);
extern TRenameAt2Call g_renameAt2;
extern TSymlinkAtCall g_symlinkAt;

} // namespace engine::platform
