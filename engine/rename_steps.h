#pragma once
// One rename of a batch, an undo or the tree's label, with the steps a case-only rename needs
// on a volume that ignores case.

#include <string>

#include "engine/platform/rename_folder.h"

namespace engine {

// Renames `from` to `to` in `folder`, as platform::TRenameFolder::RenameNoReplace does. A volume
// that ignores case (FAT, exFAT and NTFS read from Linux, and Wine) finds a case-only rename's
// new name taken by the entry itself: the entry then moves through the free name `stopOver`
// (none given: the first step's error stands), and comes back when the second step finds the
// new name really taken. Fails with rrLeftAtStopOver when it can go neither on nor back.
// Changes the disk.
int RenameNoReplace(const platform::TRenameFolder& folder, const std::string& from,
                    const std::string& to, const TFileIdentity& expected,
                    const std::string& stopOver);

// A stop-over name for a case-only rename of `from` that no journal knows: the moment's.
std::string UnjournaledStopOverName(const std::string& from);

} // namespace engine
