// Folders shown from outside the tree: named on the command line or dropped onto the window.

#include "ui/window/Umain.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "ui/common/error_display.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/window/folder_argument.h"

namespace {

const QString UriListFormat = QStringLiteral("text/uri-list");

// The first local path of a text/uri-list, read as bytes: QMimeData::urls() would decode the
// URLs to text first.
std::optional<std::string> DroppedPath(const QMimeData* data) {
    if (!data || !data->hasFormat(UriListFormat)) return std::nullopt;
    for (const QByteArray& line : data->data(UriListFormat).split('\n')) {
        const QByteArray url = line.trimmed();
        if (url.isEmpty() || url.startsWith('#')) continue;
        return LocalPathOfUrl(url.toStdString());
    }
    return std::nullopt;
}

} // namespace

bool TFrmMain::showFolder(const std::string& path) {
    return ShellTreeView1->selectPath(path);
}

void TFrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedPath(event->mimeData())) event->acceptProposedAction();
}

void TFrmMain::dropEvent(QDropEvent* event) {
    const std::optional<std::string> path = DroppedPath(event->mimeData());
    if (!path) return;
    event->acceptProposedAction();
    Guarded([&] {
        const TFolderChoice choice = ChooseFolder(*path, {}, true);
        if (!choice.Error.isEmpty()) throw engine::TError(choice.Error.toStdString());
        if (!showFolder(choice.Folder))
            throw engine::TError(FolderNotInTreeMessage(choice.Folder).toStdString());
    });
}
