// The rules Windows has for paths and names, the texts of its errors, and the user's folders.
#include "engine/platform/platform.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "engine/messages.h"
#include "engine/name_rules.h"
#include "engine/platform/wide_win.h"

namespace engine::platform {
namespace {

// The system's own text of `error`, without its line break and full stop (ASCII or Chinese):
// the message that quotes it ends the sentence itself.
std::string SystemText(int error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    ::LocalFree(text);
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ' ||
            message.back() == L'.' || message.back() == L'\x3002'))
        message.pop_back();
    if (message.empty()) return "Windows error " + std::to_string(error);
    return Narrow(message);
}

} // namespace

const char FolderSeparator = '\\';
const std::string_view NameLimit = "255 UTF-16 code units";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsFolderPath(std::string_view path) {
    return path.find(":\\") != std::string_view::npos;
}

bool IsValidNewName(std::string_view relativePath) {
    return IsValidWindowsName(relativePath);
}

std::string FailureText(int error) {
    namespace m = messages;
    switch (error) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return std::string(m::TargetExists);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return std::string(m::NotFound);
    case ERROR_ACCESS_DENIED:
        return std::string(m::AccessDenied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return std::string(m::FileInUse);
    case ERROR_FILENAME_EXCED_RANGE:
        return std::string(m::NameTooLong);
    case ERROR_WRITE_PROTECT:
        return std::string(m::ReadOnlyFileSystem);
    case ERROR_NOT_SAME_DEVICE:
        return std::string(m::CrossDevice);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return std::string(m::InvalidName);
    default:
        return SystemText(error);
    }
}

bool IsNameTaken(int error) {
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

std::string StateFolder() {
    wchar_t* path = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)))
        folder = Narrow(path) + "\\Zelvora";
    ::CoTaskMemFree(path);
    return folder;
}

} // namespace engine::platform

namespace engine {

TFolderProbe ProbeFolder(const std::string& path) {
    const std::wstring wide = platform::SystemPath(path);
    const DWORD attributes =
        wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {.Error = wide.empty() ? ERROR_INVALID_NAME : static_cast<int>(::GetLastError())};
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {.Error = ERROR_DIRECTORY};
    return {true, true}; // whether it has sub-folders is known only by reading it
}

std::string CurrentFolderPath() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
    if (length > path.size()) {
        path.resize(length);
        length = ::GetCurrentDirectoryW(length, path.data());
    }
    path.resize(length < path.size() ? length : 0);
    return platform::Narrow(path);
}

} // namespace engine
