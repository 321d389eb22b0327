#pragma once
// How a Windows program reads its command line, Explorer's verbs included.

#include <string>
#include <string_view>
#include <vector>

// The arguments of `commandLine`, the program's name first, split by Windows' rules
// (CommandLineToArgvW) and in UTF-8, each as ArgumentAsGiven reads it.
std::vector<std::string> ArgumentsOfCommandLine(std::wstring_view commandLine);

// `argument` as the user meant it. Windows' rules read a backslash before a quote as a quote,
// so a drive root that a verb quotes, `"C:\"`, arrives as `C:"`: an argument ending in `:"` is
// read as that drive's root, `C:\`. Any other argument is kept. Pure.
std::string ArgumentAsGiven(std::string argument);
