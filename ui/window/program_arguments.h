#pragma once

#include <string>
#include <vector>

// The program's arguments, its name first, as bytes the engine takes: on Linux `argv` as it
// came; on Windows the wide command line in UTF-8 (argv holds the ANSI code page's lossy
// version), without the options the application object has taken out once it exists.
std::vector<std::string> ProgramArguments(int argc, char** argv);
