#pragma once
// The renaming engine's whole API: the window uses nothing else of engine/.
// Names are raw bytes (std::string) from the disk to the rename; nothing here converts them.
// On Windows they are UTF-8 (WTF-8 for a name holding an unpaired surrogate), converted from
// and to the wide names of the system only in engine/platform/.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// An error that stops an operation; what() is the finished message shown to the user.
// what() is a C string, so a NUL in the message (a typed text holding U+0000) shows as "\0"
// rather than cutting the message short.
class TError : public std::runtime_error {
public:
    explicit TError(std::string_view message) : std::runtime_error(WithVisibleNul(message)) {}

private:
    static std::string WithVisibleNul(std::string_view message) {
        std::string text;
        for (const char c : message) {
            if (c == '\0')
                text += "\\0";
            else
                text += c;
        }
        return text;
    }
};

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

// An entry's identity as its volume keeps it across renames, remounts and replugs (which
// volume keeps what is written down in engine/journal.h). Where the volume keeps persistent
// handles, Handle holds the entry's, and it alone decides: a reused inode number is another
// handle. Where it keeps none (FUSE drivers, FAT, exFAT, network shares), Handle is empty and
// the entry is known by what survives there: a file by its size and modification time, a
// folder by being one, as its time and size change with what it holds (and an overlay's copy-up
// makes it anew).
struct TFileIdentity {
    std::string Handle{};      // opaque bytes; empty where the volume keeps no handles
    std::uint64_t Size = 0;    // with Modified: known when HasShape, and 0 for a folder
    std::int64_t Modified = 0; // the system's own unit (nanoseconds, or 100 ns on Windows)
    bool HasShape = false;
    bool IsFolder = false;
    // The inode number as listed, which tells entries apart within one mount where the volume
    // keeps handles (found: 0 elsewhere); never journaled, as a remount may change it.
    std::uint64_t Number = 0;

    bool Known() const { return !Handle.empty() || HasShape; }
    // Whether `found`, read now at a name, is the entry this identity was taken of: by handle
    // where both have one, else by inode number where both have one, else by their shapes.
    bool Matches(const TFileIdentity& found) const {
        if (!Handle.empty() && !found.Handle.empty()) return Handle == found.Handle;
        if (Number != 0 && found.Number != 0)
            return Number == found.Number && IsFolder == found.IsFolder;
        return HasShape && found.HasShape && IsFolder == found.IsFolder && Size == found.Size &&
               Modified == found.Modified;
    }
    bool operator==(const TFileIdentity&) const = default;
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

// Failures the engine decides itself (negative, so they never clash with errno values).
enum TRenameRefusal : int {
    rrInvalidName = -1,    // refused before any system call
    rrEntryReplaced = -2,  // another entry than the one renamed holds the name now
    rrLeftAtStopOver = -3, // a two-step case-only rename could go neither on nor back: the
                           // entry waits at the stop-over name, and the undo takes it back
    rrFolderReplaced = -4, // the folder's path names another folder now (moved mid-batch)
    rrWindowsName = -5,    // on a volume Windows reads: a name Windows can't open
    rrCaseTwin = -6,       // on a volume Windows reads: another entry's name in other case
    rrHoldsJournals = -7,  // the folder holds the journal folder, which must stay where it is
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

// Date and time texts as the user's regional settings give them, patterns ready to render.
struct TFormatSettings {
    std::string ShortDatePattern = "m/d/yy";
    std::string LongDatePattern = "mmmm d, yyyy";
    std::string ShortTimePattern = "h:mm AMPM";
    std::string LongTimePattern = "h:mm:ss AMPM";
    char DateSeparator = '/'; // '\0' renders nothing
    char TimeSeparator = ':';
    std::string TimeAMString = "am";
    std::string TimePMString = "pm";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

// A locale's date and time conventions as Qt's locale data (CLDR) gives them: formats in Qt's
// pattern letters ("yyyy/M/d", "h:mm:ss AP t"), texts in UTF-8. An empty text is missing.
struct TLocaleConventions {
    std::string ShortDateFormat;
    std::string LongDateFormat;
    std::string LongTimeFormat;
    std::string AmText, PmText;
    std::array<std::string, 12> LongMonthNames, ShortMonthNames; // January first
    std::array<std::string, 7> LongDayNames, ShortDayNames;      // Sunday first
};

// The settings `locale` gives: date patterns converted from Qt's letters (literal text holding a
// letter quoted), the time patterns built from the long time's hour field, clock and AM/PM
// position; every missing value keeps its default. Pure; never throws.
TFormatSettings FormatSettingsFromLocale(const TLocaleConventions& locale);

// A local date and time, as rendered by FormatDateTime.
struct TDateTime {
    int Year = 1899, Month = 12, Day = 30; // Month 1..12, Day 1..31
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    int DayOfWeek = 6; // 0 = Sunday
};

// Renders a date pattern ("yyyy/m/d h:nn:ss", "c", ...). Pure; never throws; at most 256 bytes;
// defined for every TDateTime, fields out of their range included.
std::string FormatDateTime(std::string_view pattern, const TDateTime& when,
                           const TFormatSettings& settings);

// The "修改时间" text of a local time: the short date, then " " and the long time unless the
// time is exactly midnight. Pure.
std::string ModificationText(const TDateTime& when, const TFormatSettings& settings);

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

enum class TRenameMode { rmPrefix = 0, rmSuffix = 1, rmReplace = 2, rmDelete = 3 };

// The settings exactly as the six edits hold them, and the rename type.
struct TRenameSettings {
    std::string StartNumber = "1"; // Edit1
    std::string Digits = "4";      // Edit2
    std::string LeadText = "A-";   // Edit3
    std::string TrailText = " ";   // Edit4
    std::string DeleteStart = "1"; // Edit5
    std::string DeleteCount = "4"; // Edit6
    TRenameMode Mode = TRenameMode::rmPrefix;
};

// Converts a settings text ("7", " -7", "$FF", "0x10", ...) to a 32-bit integer.
// Throws TError "'%s' is not a valid integer value". Pure.
std::int32_t ParseSettingsInteger(std::string_view text);

// Parses a digit count: as ParseSettingsInteger, and throws TError when it is above 255
// (no name can be that long). Pure.
std::int32_t ParseDigitCount(std::string_view text);

// The running number's start and digit count, parsed from `settings`.
struct TNumbering {
    std::int32_t Start = 1;
    std::int32_t Digits = 4;
};
// Checks `settings` as a batch on `listing` checks them before its first rename, in the same
// order: the start number, the digit count, then the delete texts where the mode reads them
// (by composing the first row's name). Throws TError for the first bad one. Pure.
TNumbering CheckRenameSettings(const TFolderListing& listing, const TRenameSettings& settings);

// The number in decimal, padded in front with "0" to `digits` characters. Pure.
std::string SequenceText(std::int32_t number, std::int32_t digits);

// The preview label's caption "例：" + lead + sequence + trail. Parses StartNumber, then
// Digits; throws TError. Pure.
std::string PreviewText(const TRenameSettings& settings);

// The new name of one row numbered `number`. In rmDelete it parses DeleteStart, then
// DeleteCount (throws TError); the other modes parse nothing (Digits is parsed by the caller
// and passed in). Pure.
std::string ComposeNewName(std::string_view oldName, std::string_view typeText,
                           const TRenameSettings& settings, std::int32_t digits,
                           std::int32_t number);

// How a running batch reports and is stopped; both may be left empty.
struct TBatchControl {
    // Called on the batch's own thread after each row with the rows done so far and the row
    // count; keep it cheap (store a counter, never touch widgets).
    std::function<void(std::size_t done, std::size_t total)> Progress{};
    // Checked before each row: once a stop is requested, the rows not reached stay NotRun.
    std::stop_token Stop{};
    // The folder of the batch journals, an absolute path: the batch is written there, and
    // synced, before its first rename, so it can be undone, also after a crash.
    std::string JournalFolder{};
};

// Renames every row of `listing` in list order with a running number, writing NewName,
// Status and Error of each row. Parses StartNumber and Digits and composes every name first,
// then throws TError before any rename when the journal folder is empty or relative (nothing
// is renamed unjournaled), when the folder's path now names another folder than the one
// listed, or when the journal can't be written. The row whose entry holds the journal folder
// fails with rrHoldsJournals. A row whose old or new name holds NUL,
// whose old name holds a separator, or whose new name the system would change or misread
// (Windows: < > : " | ? *, control characters, a trailing space or dot, device names such as
// NUL.txt) fails with rrInvalidName before any system call (a new name may hold separators:
// it is a path relative to the folder). A row whose entry is no longer the one listed (by its
// Identity, when known) fails with rrEntryReplaced; one whose entry another program renamed
// meanwhile fails and is not claimed. Any other failed rename is recorded and the run goes on;
// a stopped batch is journaled and closed like a finished one. Never replaces an existing
// entry. Changes the disk.
void ApplyRenames(TFolderListing& listing, const TRenameSettings& settings,
                  const TBatchControl& control = {});

// What a journal records: a batch, or the undo of one.
enum class TJournalKind : char { Batch = 'b', Undo = 'u' };

// One journal of the journal folder, as the window offers it.
struct TJournalSummary {
    std::string Name{}; // the journal's file name; names sort by age
    TJournalKind Kind = TJournalKind::Batch;
    std::string Folder{};     // the batch's folder, ending in "/"
    bool Closed = false;      // false: the program stopped in the middle of it, or it is running
    bool Undone = false;      // an undo took it back whole (and that undo was not taken back)
    std::string UndoesName{}; // for an undo that ran whole: the journal it takes back
    bool Running = false;     // a batch or an undo is at work on it, in this window or another;
                              // on Windows its folder is then unknown (empty)
    bool RenamedAny = true;   // false when it closed having renamed no row
};

// Every readable journal in `journalFolder`, oldest first; a missing folder has none. Reads
// the beginning and the end of each journal only; a damaged journal, however large, is left
// out. Reads the disk; never throws.
std::vector<TJournalSummary> ReadJournals(const std::string& journalFolder);

// What Ctrl+Z does next, by the journals newest first: a journal not closed (at work in this
// window or another, or cut short by a crash) is in the way, and nothing older is taken back
// before it; else the newest closed batch that renamed something and is not undone.
struct TUndoStep {
    const TJournalSummary* Batch = nullptr;    // the batch to take back
    const TJournalSummary* InTheWay = nullptr; // the journal that must end or be recovered first
};
TUndoStep NextUndo(const std::vector<TJournalSummary>& journals);

// NextUndo's batch, or nullptr. Pure.
inline const TJournalSummary* LastUndoableBatch(const std::vector<TJournalSummary>& journals) {
    return NextUndo(journals).Batch;
}

// The number of rows of journal `name` whose entry stands renamed now: the folder holds the
// row's new name exactly, and the entry there has the row's identity. For an undo cut short,
// the rows it has yet to take back. Reads the disk; throws TError
// when the journal can't be read or a batch or an undo is at work on it.
std::size_t CountRenamedRows(const std::string& journalFolder, const std::string& name);

// One row of an undo: the entry's name before the undo and the name it goes back to.
struct TUndoRow {
    std::string From;
    std::string To;
    int Error = 0; // 0 when it went back, else errno or a TRenameRefusal
};

// What an undo did.
struct TUndoResult {
    std::string Folder;         // the folder, ending in "/"
    std::vector<TUndoRow> Rows; // newest first, as run; then the rows whose entry was gone
};

// Takes back journal `name`, newest row first, never replacing anything: a row goes back only
// when the folder holds its new name (or its stop-over name) exactly and the entry there is the
// entry it renamed, by identity, asked of the entry just before its rename. A row known renamed
// whose entry is gone fails with its reason, as does one whose entry was replaced
// (rrEntryReplaced) or whose old name is taken; the undo goes on. The undo is journaled in
// `journalFolder` like a batch, listing just the rows it takes back, and locks journal `name`
// while it runs. The batch counts as undone only when every row it takes back went back; an
// open journal is then closed as undone, else as kept, and stays to be undone. Throws TError
// before any rename when the journal can't be read or written, when a batch or an undo is at
// work on it, or when the folder is gone or is another folder now. An undo cut short is
// finished: its batch is taken back from where the folder stands, and it closes as stopped.
// Changes the disk.
TUndoResult UndoBatch(const std::string& journalFolder, const std::string& name,
                      const TBatchControl& control = {});

// Closes the open journal `name` as kept, so it is no longer offered for recovery. Changes the
// disk; throws TError when it can't be written or a batch or an undo is at work on it.
void KeepJournal(const std::string& journalFolder, const std::string& name);

// Renames the entry `from` inside `folder` to the plain name `to` (no separator), never
// replacing an existing entry. Renaming to the same name does nothing and succeeds. Returns 0,
// the system's error code, or rrInvalidName for an empty name, ".", ".." or a name with a
// separator or NUL (either name) or one the system would change, before any system call.
// Changes the disk.
int RenameEntry(const std::string& folder, const std::string& from, const std::string& to);

// What one stat of `path` (links followed) tells: whether it is a folder, and whether it may
// hold sub-folders by the same link-count rule. Reads the disk; never throws.
struct TFolderProbe {
    bool IsFolder = false;
    bool HasSubFolders = false;
    int Error = 0; // why it is no folder: the system's error code
};
TFolderProbe ProbeFolder(const std::string& path);

// The process's working folder (raw bytes); empty when it can't be read. Asks the system;
// never throws.
std::string CurrentFolderPath();

// The folder of the user's batch journals: $XDG_STATE_HOME/zelvora (~/.local/state/zelvora
// when unset) on Linux, %LOCALAPPDATA%\Zelvora on Windows; "" when the system names none.
// Asks the system; never throws.
std::string DefaultJournalFolder();

// The user's date and time settings as the system keeps them: on Windows its regional
// settings, read now; nullopt on Linux, where the window takes them from its locale data.
// Asks the system; never throws.
std::optional<TFormatSettings> SystemFormatSettings();

// ---- POSIX only: the folder operations of the Linux folder tree's own menu. On Windows the
// shell's context menu does them, so they are not built there.

// What a paste does with its sources.
enum class TPasteMode { pmCopy, pmMove };

// The outcome of one source of a paste.
struct TPasteResult {
    std::string Source;     // the source path as given
    std::string TargetName; // the name made in the target folder; empty when nothing was made
    int Error = 0;          // 0 when done; else the errno of the first failure or a TRenameRefusal
};

// The name that try `number` of a free-name search gives: `name` itself for 1, else
// "name (2)", "name (3)" ...; a file keeps its extension last ("a (2).txt"), a folder or a
// name that starts with its only "." does not ("dir.d (2)", ".bashrc (2)"). Pure.
std::string NumberedName(std::string_view name, bool isFolder, int number);

// Copies (pmCopy) or moves (pmMove) each absolute source path into `targetFolder`, folders
// recursively with contents, permissions, modification times and links as links. Never replaces
// anything: a taken name gets the first free NumberedName, reserved atomically. A move renames
// within one file system and otherwise copies, then deletes the source only when the whole copy
// succeeded; a source that already lies in `targetFolder` is left where it is. A source that is
// not an absolute path, or that holds NUL, fails with rrInvalidName; other failures are recorded
// per source and the paste goes on. Throws TError, before anything changes, when `targetFolder` is
// not a folder that can be opened or when a source folder is `targetFolder` or one of its
// ancestors. Changes the disk.
std::vector<TPasteResult> PasteInto(const std::string& targetFolder,
                                    const std::vector<std::string>& sources, TPasteMode mode);

// Makes the folder "新建文件夹" in `parentFolder`, or the first free "新建文件夹 (2)" ..., reserved
// atomically, and returns the name made. Throws TError when no folder can be made. Changes the
// disk.
std::string MakeNewFolder(const std::string& parentFolder);

// Deletes the entry at `path` for good: a folder with everything inside; a link is removed
// itself, never followed. Goes on past failures; returns 0 or the errno of the first one.
// Changes the disk; never throws.
int DeleteTree(const std::string& path);

// What the properties of a folder show.
struct TFolderProperties {
    std::uint64_t ContentBytes = 0; // sizes of the regular files inside, at any depth
    std::uint64_t FileCount = 0;    // entries inside that are not folders (links not followed)
    std::uint64_t FolderCount = 0;  // folders inside, at any depth
    TDateTime Modified;             // the folder's own modification time, local
    std::uint32_t Mode = 0;         // the folder's st_mode
};

// Reads the properties of the folder at `path`; folders inside that can't be read add nothing.
// Throws TError when `path` itself can't be read. Reads the disk.
TFolderProperties ReadFolderProperties(const std::string& path);

// "drwxr-xr-x" from an st_mode, with s/S and t/T for the set-id and sticky bits. Pure.
std::string PermissionText(std::uint32_t mode);

// The permission bits of an st_mode as four octal digits ("0755", "1777"). Pure.
std::string OctalPermissionText(std::uint32_t mode);

// One sub-folder as the folder tree shows it.
struct TSubFolder {
    std::string Name;          // raw bytes, as the directory holds them
    bool HasSubFolders = true; // false only when the link count proves there are none
};

// The sub-folders of `path`: directories and links to directories whose names don't begin
// with "." (hidden), in the platform's enumeration order. HasSubFolders comes from the
// sub-folder's link count (above 2: yes; 2: no; 1, as btrfs and overlay report: unknown, so
// yes); no sub-folder is opened. A folder that can't be read has none. Reads the disk; never
// throws.
std::vector<TSubFolder> ListSubFolders(const std::string& path);

} // namespace engine
