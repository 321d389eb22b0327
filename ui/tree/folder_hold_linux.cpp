#include "ui/tree/folder_hold.h"

#include <QFile>
#include <QFileInfo>

namespace {

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool IsSameOrAbove(const std::string& path, const std::string& held) {
    if (path == held || path == "/") return true;
    return held.size() > path.size() && held.starts_with(path) && held[path.size()] == '/';
}

// Empty when the path does not resolve (gone, or not a folder any more).
std::string Resolved(const std::string& path) {
    const QString resolved =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).canonicalFilePath();
    return resolved.isEmpty() ? std::string() : QFile::encodeName(resolved).toStdString();
}

} // namespace

bool TakesAlong(const std::string& path, const std::string& held) {
    if (held.empty() || !path.starts_with('/')) return false;
    const std::string folder = WithoutTrailingSlash(path);
    const std::string heldFolder = WithoutTrailingSlash(held);
    if (IsSameOrAbove(folder, heldFolder)) return true;
    // The same folder may be reached along a link (a home under /var/home, say).
    const std::string resolved = Resolved(folder), heldResolved = Resolved(heldFolder);
    return !resolved.empty() && !heldResolved.empty() && IsSameOrAbove(resolved, heldResolved);
}
