#pragma once
// The files of the batch journal: made, appended to and synced, read, listed and removed. A
// journal is locked while a batch or an undo works on it, so another window never takes a
// live batch for one a crash left behind.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine::platform {

// Makes the absolute folder `path` and any missing parents (on POSIX each with mode 0700).
// Returns 0 or the error code of the failure.
int MakeFolderPath(const std::string& path);

// One journal file held open and locked against every other opening that locks it: an OFD lock
// on POSIX, a handle that shares nothing on Windows. Every call returns 0 or the error code
// (errno on POSIX, GetLastError on Windows).
class TJournalFile {
public:
    TJournalFile();
    ~TJournalFile();
    TJournalFile(const TJournalFile&) = delete;
    TJournalFile& operator=(const TJournalFile&) = delete;

    // Creates `name` in `folder`, locked; fails with an IsNameTaken code when the name is taken.
    int Create(const std::string& folder, const std::string& name);
    // Opens the existing `name` of `folder` to read and append; fails with an IsJournalBusy code
    // when another opening holds its lock.
    int Open(const std::string& folder, const std::string& name);
    // Reads the whole file into `bytes`; fails with a code of its own when it holds more than
    // `maxBytes`.
    int Read(std::string& bytes, std::size_t maxBytes) const;
    // Reads the first (or, `fromEnd`, the last) `maxBytes` bytes, or the whole file when smaller.
    int ReadPart(std::string& bytes, std::size_t maxBytes, bool fromEnd) const;
    // Writes all of `bytes` at the end.
    int Append(std::string_view bytes) const;
    // Syncs the file, then its folder, so both its bytes and its name survive a power cut.
    int Sync() const;
    // Removes the file and closes it; its lock is held until its name is gone.
    int Remove();

    struct TOpen; // the platform's open file

private:
    std::unique_ptr<TOpen> m_open;
};

// Whether `error` says a journal is locked by a batch or an undo at work.
bool IsJournalBusy(int error);

// Whether a batch or an undo at work, in this process or another, holds the journal `path`.
bool IsJournalLocked(const std::string& path);

// The names in `folder` but "." and ".."; none when it can't be read.
std::vector<std::string> FolderFileNames(const std::string& folder);

// Reads `path` whole (maxBytes == 0), or its first or last `maxBytes` bytes. Returns 0 or the
// error code; a journal locked by its writer (Windows) fails with an IsJournalBusy code.
int ReadFileBytes(const std::string& path, std::string& bytes, std::size_t maxBytes = 0,
                  bool fromEnd = false);

} // namespace engine::platform
