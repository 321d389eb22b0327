#pragma once
// Copying and deleting whole trees below open folders, never replacing and never following links.

#include <string>

namespace engine::platform {

// The outcome of copying one entry: whether the target name was made, and 0 or the errno of
// the first failure. A target name that is taken gives Made == false and Error == EEXIST.
struct TCopyOutcome {
    bool Made = false;
    int Error = 0;
};

// Copies the entry `name` of `fromDir` as the new entry `toName` of `toDir`: a folder with its
// contents, a file's bytes, a link as a link, a fifo or device as itself; permissions and
// modification times follow. `toName` is made exclusively. Goes on past failures inside a folder.
TCopyOutcome CopyEntry(int fromDir, const std::string& name, int toDir, const std::string& toName);

// Deletes the entry `name` of `dirFd` for good, a folder with everything inside, links never
// followed. Goes on past failures; returns 0 or the errno of the first one.
int RemoveEntry(int dirFd, const std::string& name);

} // namespace engine::platform
