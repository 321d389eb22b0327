#pragma once
// Folders named from outside the window, on the command line or dropped onto it: a path or a
// file:// URL. Paths are raw bytes throughout, since a name need not be UTF-8.

#include <optional>
#include <string>
#include <string_view>

#include <QString>

// The path of a local file:// URL (no host or "localhost"), percent-decoded to bytes; nullopt
// for any other URL. Pure.
std::optional<std::string> LocalPathOfUrl(std::string_view url);

// The path that a file URL's percent-decoded path names: "/home/x" on Linux, "C:\x" for
// "/C:/x" on Windows; nullopt when it names no absolute local path. Pure.
std::optional<std::string> LocalPathOfUrlPath(const QByteArray& urlPath);

// `path` made absolute against `currentFolder` (the root when empty) and lexically normal:
// "." and ".." steps, doubled and trailing separators taken out (a root keeps its own). Links
// are not followed, as a shell's `cd` does not. Pure.
std::string AbsolutePath(std::string_view path, std::string_view currentFolder);

// The folder that holds the entry at the absolute `path`. Pure.
std::string ParentFolderOf(const std::string& path);

// What an error of engine::ProbeFolder says about a path.
enum class TProbeProblem { NotFound, NotAFolder, Other };
TProbeProblem ProbeProblemOf(int error);

// The folder to show, or why there is none.
struct TFolderChoice {
    std::string Folder; // absolute path; empty when there is none
    QString Error;      // set when the argument named no folder that can be shown
};

// What an argument (a path relative to `currentFolder`, or a file:// URL) names: a folder, or,
// when `fileGivesItsFolder`, a file's folder. Anything else gives an Error that names the
// argument. Reads the disk (one stat, links followed).
TFolderChoice ChooseFolder(std::string_view argument, std::string_view currentFolder,
                           bool fileGivesItsFolder);

// The message for a folder that exists but has no node in the folder tree.
QString FolderNotInTreeMessage(const std::string& folder);
