#pragma once
// Every text the engine shows to the user, in one place.

#include <string>
#include <string_view>

namespace engine::messages {

inline constexpr std::string_view NotAnInteger = "'%s' is not a valid integer value";
inline constexpr std::string_view DigitCountTooLarge =
    "'%s' is too large a digit count: a name holds at most %s"; // one of the two below
inline constexpr std::string_view NameLimitBytes = "255 bytes";
inline constexpr std::string_view NameLimitUtf16Units = "255 UTF-16 code units";

// Reasons shown on a row whose rename failed.
inline constexpr std::string_view TargetExists = "目标已存在";
inline constexpr std::string_view NotFound = "找不到文件或文件夹";
inline constexpr std::string_view AccessDenied = "拒绝访问";
inline constexpr std::string_view NameTooLong = "文件名过长";
inline constexpr std::string_view ReadOnlyFileSystem = "只读文件系统";
inline constexpr std::string_view CrossDevice = "不能跨文件系统移动";
inline constexpr std::string_view InvalidName = "文件名无效";
inline constexpr std::string_view NameWindowsRefuses = "文件名无效：Windows 打不开这个名称";
inline constexpr std::string_view NameCaseTwin = "文件名无效：与文件夹中另一个条目只差大小写";
inline constexpr std::string_view HoldsJournals = "里面存放着改名记录，不能改名";
inline constexpr std::string_view FileInUse = "文件正在使用";
inline constexpr std::string_view EntryReplaced = "已换成另一个条目";
inline constexpr std::string_view LeftAtStopOver = "停在临时名称上，可以撤销";
inline constexpr std::string_view FolderMoved = "文件夹已被移走或换掉";

// Errors that stop a folder operation of the tree's menu.
inline constexpr std::string_view PasteTargetUnusable = "无法粘贴到“%s”：%s";
inline constexpr std::string_view PasteIntoItself = "不能把“%s”粘贴到它自己或它的子文件夹中";
inline constexpr std::string_view NewFolderFailed = "无法在“%s”中新建文件夹：%s";
inline constexpr std::string_view PropertiesUnreadable = "无法读取“%s”的属性：%s";

// Errors that stop a batch or an undo before its first rename.
inline constexpr std::string_view FolderReplaced =
    "“%s”已不是列出的那个文件夹（它被移走或换掉了）。没有改名任何条目，请重新选择文件夹";
inline constexpr std::string_view JournalUnwritable = "无法写入改名记录“%s”：%s。没有改名任何条目";
inline constexpr std::string_view JournalUnreadable = "改名记录无法读取";
inline constexpr std::string_view JournalFolderUnknown =
    "不知道把改名记录存放在哪里（没有设置 HOME），改了名就无法撤销。没有改名任何条目";
inline constexpr std::string_view JournalNumbersUsedUp =
    "“%s”中改名记录的编号已用完。没有改名任何条目";
inline constexpr std::string_view JournalRunning =
    "这一批正在另一个窗口中改名或撤销，等它结束后才能撤销";
inline constexpr std::string_view UndoFolderGone = "无法撤销：找不到文件夹“%s”：%s";
inline constexpr std::string_view UndoFolderReplaced =
    "无法撤销：“%s”已不是当初改名的那个文件夹（它被移走或换掉了）";

// The name a new folder gets before the user edits it.
inline constexpr std::string_view NewFolderName = "新建文件夹";

// `pattern` with its one "%s" replaced by `argument`.
inline std::string Format(std::string_view pattern, std::string_view argument) {
    const auto at = pattern.find("%s");
    if (at == std::string_view::npos) return std::string(pattern);
    std::string text(pattern.substr(0, at));
    text += argument;
    text += pattern.substr(at + 2);
    return text;
}

// `pattern` with its first "%s" replaced by `first` and its second by `second`.
inline std::string Format(std::string_view pattern, std::string_view first,
                          std::string_view second) {
    const auto at = pattern.find("%s");
    if (at == std::string_view::npos) return std::string(pattern);
    std::string text(pattern.substr(0, at));
    text += first;
    text += Format(pattern.substr(at + 2), second);
    return text;
}

} // namespace engine::messages
