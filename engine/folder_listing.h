#pragma once
// One folder's entries as the file list shows them, and the identity each entry has on its
// volume.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/date_texts.h"
#include "engine/error.h"
#include "engine/platform/system_values.h"

namespace engine {

// The type text of every folder row. A file's type text is empty or begins with ".".
inline constexpr std::string_view FolderTypeText = "文件夹";
inline constexpr int FolderImageIndex = 40;
inline constexpr int FileImageIndex = 60;

// What the last ApplyRenames did with a row.
enum class TRenameStatus : std::uint8_t {
    NotRun, // listed, not renamed yet
    Renamed,
    Skipped, // the new name equals the old one: nothing to do, counts as done
    Failed,  // see TFolderEntry::Error
};

// One row of the file list; the first four fields are the list's four columns.
struct TFolderEntry {
    std::string OldName;      // "旧名称", the row's caption (editable in place)
    std::string NewName;      // "新名称", filled by ApplyRenames
    std::string TypeText;     // "类型": FolderTypeText, or the file's extension
    std::string ModifiedText; // "修改时间"
    bool IsFolder = false;
    int ImageIndex = FileImageIndex;
    TRenameStatus Status = TRenameStatus::NotRun;
    int Error = 0; // the system's error code (errno, or Windows' GetLastError) of a failed
                   // rename, or one of the TRenameRefusal codes
    TFileIdentity Identity{}; // the entry's when listed; the journal records it for the undo
};

// The short Chinese reason shown on a failed row ("目标已存在", ...). Pure.
std::string RenameFailureText(int error);

// The listed folder and its rows; CurrentFolder and Rows change together, only in ListFolder.
struct TFolderListing {
    // Absolute; always ends in the platform's separator ("/", or "\" on Windows); empty
    // before the first listing.
    std::string CurrentFolder;
    std::vector<TFolderEntry> Rows;
    // The listed folder's identity; both 0 when not known (a listing made by hand), and then
    // ApplyRenames does not check it.
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
};

// The extension of a file named `name`: from its last "." to the end, or empty. Pure.
std::string_view FileExtension(std::string_view name);

// Natural name order: digit runs by value, ASCII letters without case, raw bytes last.
// Negative, zero or positive like strcmp; zero only for equal names. Pure.
int NaturalCompare(std::string_view a, std::string_view b);

// Whether ListFolder lists `path`: an absolute path ("/...") on POSIX, a path holding ":\" on
// Windows. Pure.
bool NamesFolderOnDisk(std::string_view path);

// Lists `path` into `listing` when it names a folder on a disk: an absolute path ("/...") on
// POSIX, a path holding ":\" on Windows; any other text (a virtual item's display name, a
// network path, the empty text) changes nothing. A folder that can't be read lists as
// empty. Rows come in natural name order; a modification time whose year does not fit an int
// gives an empty ModifiedText. Reads the disk; never throws.
void ListFolder(TFolderListing& listing, const std::string& path, const TFormatSettings& settings);
// Lists again the entry `row.OldName` names in the listed `folder`, after its caption was
// edited in place: the identity the batch checks before renaming it becomes that entry's
// (unknown when there is none); the columns stay as listed. Reads the disk.
void RelistIdentity(const std::string& folder, TFolderEntry& row);

} // namespace engine
