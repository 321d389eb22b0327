#pragma once
// The folder a batch is renaming in is held: while the batch runs, nothing in the tree may move,
// rename or delete it, or a folder that holds it.

#include <string>

// Whether moving, renaming or deleting the folder at `path` would take the folder at `held`
// along: `path` is `held` or holds it. Both absolute, raw bytes, with or without a trailing
// "/"; an empty `held` is no folder. The paths are compared as given, then with links resolved.
// Reads the disk.
bool TakesAlong(const std::string& path, const std::string& held);
