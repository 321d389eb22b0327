// What Windows has for paths and names, what its error codes are, and the user's folders.
#include "engine/platform/platform.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "engine/platform/wide_win.h"

namespace engine::platform {

// Without its line break and full stop (ASCII or Chinese): the message that quotes it ends the
// sentence itself.
std::string SystemErrorText(int error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::wstring message(text ? text : L"", length);
    ::LocalFree(text);
    if (message.find_first_not_of(L" \r\n") == std::wstring::npos)
        return "Windows error " + std::to_string(error);
    return Narrow(message);
}

const char FolderSeparator = '\\';
const TNameUnit NameUnit = TNameUnit::Utf16Unit;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsFolderPath(std::string_view path) {
    return path.find(":\\") != std::string_view::npos;
}

const bool OpensOnlyWindowsNames = true;

TFailureKind FailureKindOf(int error) {
    using enum TFailureKind;
    switch (error) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return NameTaken;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return NotFound;
    case ERROR_ACCESS_DENIED:
        return AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return InUse;
    case ERROR_FILENAME_EXCED_RANGE:
        return NameTooLong;
    case ERROR_WRITE_PROTECT:
        return ReadOnly;
    case ERROR_NOT_SAME_DEVICE:
        return CrossDevice;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return InvalidName;
    default:
        return Other;
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

std::string EnvironmentValue(const char* name) {
    const wchar_t* value = ::_wgetenv(Wide(name).c_str());
    return value ? Narrow(value) : std::string();
}

bool IsRootedPath(std::string_view path) {
    return (!path.empty() && IsSeparator(path.front())) || (path.size() >= 2 && path[1] == ':');
}

TFolderStatus ProbeFolder(const std::string& path) {
    const std::wstring wide = SystemPath(path);
    const DWORD attributes =
        wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {.Error = wide.empty() ? ERROR_INVALID_NAME : static_cast<int>(::GetLastError())};
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {.Error = ERROR_DIRECTORY};
    return {.IsFolder = true};
}

std::string CurrentFolderPath() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
    if (length > path.size()) {
        path.resize(length);
        length = ::GetCurrentDirectoryW(length, path.data());
    }
    path.resize(length < path.size() ? length : 0);
    return Narrow(path);
}

} // namespace engine::platform
