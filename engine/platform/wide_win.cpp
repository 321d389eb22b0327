#include "engine/platform/wide_win.h"

#include <algorithm>
#include <vector>

#include "engine/platform/wtf8.h"

namespace engine::platform {
namespace {

bool IsDriveAbsolute(std::wstring_view path) {
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

// `path` ("C:\a\..\b\") with "." and ".." resolved, never above `root` (its first `rootNames`
// names); a trailing "\" stays.
std::wstring Resolved(std::wstring_view path, std::size_t rootNames) {
    std::vector<std::wstring_view> names;
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring_view::npos) end = path.size();
        const std::wstring_view name = path.substr(start, end - start);
        if (name == L"..") {
            if (names.size() > rootNames) names.pop_back();
        } else if (!name.empty() && name != L".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    std::wstring resolved;
    for (const std::wstring_view name : names) {
        if (!resolved.empty()) resolved += L'\\';
        resolved += name;
    }
    if (path.ends_with(L'\\') || names.size() <= rootNames) resolved += L'\\';
    return resolved;
}

} // namespace

std::wstring Wide(std::string_view bytes) {
    std::u16string units;
    if (!Utf16FromWtf8(bytes, units)) return {};
    return {units.begin(), units.end()};
}

std::string Narrow(std::wstring_view units) {
    return Wtf8FromUtf16(std::u16string(units.begin(), units.end()));
}

std::wstring SystemPath(std::string_view path) {
    std::wstring wide = Wide(path);
    if (wide.starts_with(L"\\\\?\\")) return wide;
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (IsDriveAbsolute(wide)) return L"\\\\?\\" + Resolved(wide, 1);
    if (wide.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + Resolved(wide.substr(2), 2);
    return wide;
}

} // namespace engine::platform
