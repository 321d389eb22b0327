#pragma once
// The names Windows would change or misread. Pure, so it is tested on every platform.

#include <string>
#include <string_view>

namespace engine {

// Whether every name of `relativePath` (names joined by "\" or "/") is one Windows gives an
// entry exactly: no < > : " | ? * or U+0001 to U+001F, no trailing space or dot, and no device
// name (CON PRN AUX NUL COM1-9 LPT1-9, also with an extension such as "NUL.txt"). "." and ".."
// step through folders and pass.
bool IsValidWindowsName(std::string_view relativePath);

// `name` as Windows, FAT, exFAT and NTFS compare names, which ignore case: each letter of the
// Latin, Greek and Cyrillic alphabets (fullwidth Latin too) in lower case. Bytes that are no
// WTF-8 fold only their ASCII letters.
std::string FoldedName(std::string_view name);

// Whether renaming `from` to `to` changes only the case of letters: a volume that ignores case
// finds the entry itself at the new name, so the rename may take two steps through a stop-over.
bool IsCaseOnlyRename(std::string_view from, std::string_view to);

} // namespace engine
