#include "ui/tree/folder_hold.h"

#include <QDir>
#include <QString>

#include "engine/engine.h"

namespace {

// Windows compares names without regard to case; either separator may have been used.
QString Comparable(const std::string& path) {
    QString folder = QDir::toNativeSeparators(QString::fromStdString(path)).toCaseFolded();
    while (folder.size() > 3 && folder.endsWith(u'\\')) // "c:\" keeps its own
        folder.chop(1);
    return folder;
}

} // namespace

bool TakesAlong(const std::string& path, const std::string& held) {
    if (held.empty() || !engine::NamesFolderOnDisk(path)) return false;
    const QString folder = Comparable(path), heldFolder = Comparable(held);
    if (folder == heldFolder) return true;
    return heldFolder.size() > folder.size() && heldFolder.startsWith(folder) &&
           (folder.endsWith(u'\\') || heldFolder[folder.size()] == u'\\');
}
