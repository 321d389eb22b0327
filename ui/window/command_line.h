#pragma once
// The command line: `zelvora [options] [FOLDER]`, FOLDER a path or a file:// URL.

#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "ui/window/folder_argument.h"

class TFrmMain;

struct TCommandLine {
    // Set when the program ends at once: after help or version (0) or a usage error (1).
    std::optional<int> ExitCode;
    QString Output;            // for standard output: the help or the version
    QString ErrorOutput;       // for standard error: what was wrong with the options
    TFolderChoice StartFolder; // no Folder and no Error: start on the desktop
};

// Parses `arguments` (raw bytes, the program's name first) without an application object, so
// help and version need no display. Relative paths are taken from `currentFolder`. Reads the
// disk (whether FOLDER is a folder).
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                              std::string_view currentFolder);

// Selects the start folder in the window's tree, which lists it in place of the desktop, or
// shows why it can't, once the event loop runs.
void OpenStartFolder(TFrmMain& window, const TFolderChoice& startFolder);
