#pragma once
// Every text the engine shows to the user, in one place.

#include <string>
#include <string_view>

namespace engine::messages {

inline constexpr std::string_view NotAnInteger = "'%s' is not a valid integer value";
inline constexpr std::string_view DigitCountTooLarge =
    "'%s' is too large a digit count: a name holds at most 255 bytes";

// Reasons shown on a row whose rename failed.
inline constexpr std::string_view TargetExists = "目标已存在";
inline constexpr std::string_view NotFound = "找不到文件或文件夹";
inline constexpr std::string_view AccessDenied = "拒绝访问";
inline constexpr std::string_view NameTooLong = "文件名过长";
inline constexpr std::string_view ReadOnlyFileSystem = "只读文件系统";
inline constexpr std::string_view CrossDevice = "不能跨文件系统移动";
inline constexpr std::string_view InvalidName = "文件名无效";

// `pattern` with its one "%s" replaced by `argument`.
inline std::string Format(std::string_view pattern, std::string_view argument) {
    const auto at = pattern.find("%s");
    if (at == std::string_view::npos) return std::string(pattern);
    std::string text(pattern.substr(0, at));
    text += argument;
    text += pattern.substr(at + 2);
    return text;
}

} // namespace engine::messages
