// Paths as Windows writes them: "\" separates ("/" too, when given), "C:\" is a root. The
// engine takes them in WTF-8; std::filesystem works on them wide, never in the ANSI code page.

#include "ui/window/folder_argument.h"

#include <filesystem>

#include <windows.h>

#include "ui/namespace/wide_names_win.h"

namespace {

std::filesystem::path Wide(std::string_view bytes) {
    return WideName(bytes);
}

std::string Utf8(const std::filesystem::path& path) {
    return NameOfWide(path.native());
}

} // namespace

// "/C:/x" names "C:\x"; a URL without a drive names nothing local.
std::optional<std::string> LocalPathOfUrlPath(const QByteArray& urlPath) {
    const QByteArray drivePath = urlPath.mid(urlPath.startsWith('/') ? 1 : 0);
    const std::filesystem::path path = Wide(drivePath.toStdString());
    if (!path.has_root_name() || !path.has_root_directory()) return std::nullopt;
    return Utf8(path.lexically_normal());
}

std::string AbsolutePath(std::string_view path, std::string_view currentFolder) {
    std::filesystem::path absolute = Wide(path);
    if (!absolute.is_absolute()) absolute = Wide(currentFolder) / absolute;
    absolute = absolute.lexically_normal();
    std::wstring normal = absolute.wstring();
    const std::size_t root = absolute.root_path().wstring().size();
    while (normal.size() > root && normal.ends_with(L'\\'))
        normal.pop_back();
    return Utf8(normal);
}

std::string ParentFolderOf(const std::string& path) {
    return Utf8(Wide(path).parent_path());
}

TProbeProblem ProbeProblemOf(int error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return TProbeProblem::NotFound;
    if (error == ERROR_DIRECTORY) return TProbeProblem::NotAFolder;
    return TProbeProblem::Other;
}
