#pragma once
// Every text the folder tree and its namespace show to the user, in one place.

#include <string>
#include <string_view>

namespace messages {

inline constexpr std::string_view DesktopLabel = "桌面";
inline constexpr std::string_view HomeLabel = "主文件夹";
inline constexpr std::string_view ComputerLabel = "计算机";
inline constexpr std::string_view FileSystemLabel = "文件系统";
inline constexpr std::string_view NetworkLabel = "网络";
inline constexpr std::string_view TrashLabel = "回收站";

// Why a verb of the folder menu, or a label edit, waits while a batch runs.
inline constexpr std::string_view HeldByBatch =
    "批量改名正在这个文件夹里进行，结束后才能剪切、删除或重命名";
inline constexpr std::string_view PasteIntoHeld =
    "批量改名正在这个文件夹里进行，结束后才能粘贴剪切的文件夹";
inline constexpr std::string_view PasteMovesHeld = "批量改名正在剪切的文件夹里进行，结束后才能粘贴";

// Nothing can go to the trash: the GIO library is missing.
inline constexpr std::string_view TrashUnavailable = "找不到 GIO 库（libgio-2.0.so.0）";

// The name of an item asked of a folder that does not exist.
inline constexpr std::string_view NoParentFolder = "parentfolder = nil";
inline constexpr std::string_view NoDesktopFolder = "The desktop folder is not available";

// The tree's root text could not be resolved.
inline std::string ErrorSettingPath(std::string_view rootText) {
    return "Error setting path: \"" + std::string(rootText) + "\"";
}

// The namespace refused to give a folder the name `newName`.
inline std::string RenameFailed(std::string_view newName) {
    return "Rename to " + std::string(newName) + " failed";
}

} // namespace messages
