#pragma once
// The files of the batch journal: made, appended to and synced, listed, read and removed.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine::platform {

// Makes the absolute folder `path` and any missing parents (on POSIX each with mode 0700).
// Returns 0 or the error code of the failure.
int MakeFolderPath(const std::string& path);

// One journal file held open for appending.
class TJournalFile {
public:
    TJournalFile();
    ~TJournalFile();
    TJournalFile(const TJournalFile&) = delete;
    TJournalFile& operator=(const TJournalFile&) = delete;

    // Creates `name` in `folder`, failing with an IsNameTaken code when it is taken. Returns 0
    // or the error code (errno on POSIX, GetLastError on Windows), as every call here.
    int Create(const std::string& folder, const std::string& name);
    // Opens the existing `name` of `folder` to append to it. Returns 0 or the error code.
    int Open(const std::string& folder, const std::string& name);
    // Writes all of `bytes` at the end. Returns 0 or the error code.
    int Append(std::string_view bytes) const;
    // Syncs the file, then its folder, so both its bytes and its name survive a power cut.
    int Sync() const;

    struct TOpen; // the platform's open file

private:
    std::unique_ptr<TOpen> m_open;
};

// The names in `folder` but "." and ".."; none when it can't be read.
std::vector<std::string> FolderFileNames(const std::string& folder);

// Reads `path` whole (maxBytes == 0), or its first or last `maxBytes` bytes. Returns 0 or the error code.
int ReadFileBytes(const std::string& path, std::string& bytes, std::size_t maxBytes = 0,
                  bool fromEnd = false);

// Removes the file `path`. Returns 0 or the error code.
int RemoveFile(const std::string& path);

} // namespace engine::platform
