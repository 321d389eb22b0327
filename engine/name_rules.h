#pragma once
// The names Windows would change or misread. Pure, so it is tested on every platform.

#include <string_view>

namespace engine {

// Whether every name of `relativePath` (names joined by "\" or "/") is one Windows gives an
// entry exactly: no < > : " | ? * or U+0001 to U+001F, no trailing space or dot, and no device
// name (CON PRN AUX NUL COM1-9 LPT1-9, also with an extension such as "NUL.txt"). "." and ".."
// step through folders and pass.
bool IsValidWindowsName(std::string_view relativePath);

} // namespace engine
