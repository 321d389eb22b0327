// Paths as Linux writes them: "/" separates, "/" is the root.

#include "ui/window/folder_argument.h"

#include <cerrno>
#include <filesystem>

std::optional<std::string> LocalPathOfUrlPath(const QByteArray& urlPath) {
    if (!urlPath.startsWith('/')) return std::nullopt;
    return urlPath.toStdString();
}

std::string AbsolutePath(std::string_view path, std::string_view currentFolder) {
    std::filesystem::path absolute(path);
    if (!path.starts_with('/'))
        absolute = std::filesystem::path(currentFolder.empty() ? "/" : currentFolder) / absolute;
    std::string normal = absolute.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

std::string ParentFolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

TProbeProblem ProbeProblemOf(int error) {
    if (error == ENOENT) return TProbeProblem::NotFound;
    if (error == ENOTDIR) return TProbeProblem::NotAFolder;
    return TProbeProblem::Other;
}
