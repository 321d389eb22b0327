#pragma once
// Between the engine's WTF-8 paths and the wide paths the Windows calls take.

#include <string>
#include <string_view>

namespace engine::platform {

// `bytes` as UTF-16; empty when they are no WTF-8.
std::wstring Wide(std::string_view bytes);
// A name or path the system gave, as WTF-8.
std::string Narrow(std::wstring_view units);

// The wide path the calls take for the absolute `path` ("C:\a\b", "\\server\share\a"): "/"
// read as "\", "." and ".." resolved, and in the "\\?\" form, so it may be longer than MAX_PATH
// and every name is taken exactly as written (no trailing dot or space dropped). A relative
// path stays as given. Empty when `path` is no WTF-8.
std::wstring SystemPath(std::string_view path);

} // namespace engine::platform
