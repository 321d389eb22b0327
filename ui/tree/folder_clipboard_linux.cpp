#include "ui/tree/folder_clipboard_linux.h"

#include <QMimeData>
#include <QString>

namespace {

const QString UriListFormat = QStringLiteral("text/uri-list");
const QString GnomeFormat = QStringLiteral("x-special/gnome-copied-files");
const QString MateFormat = QStringLiteral("x-special/mate-copied-files");
const QString KdeCutFormat = QStringLiteral("application/x-kde-cutselection");

// Characters a URL path may hold as they are, besides letters, digits and "-._~".
const QByteArray PathCharacters = "/!$&'()*+,;=:@";

// The absolute path of a local "file:" URL, or nothing for any other URL.
QByteArray PathFromFileUrl(QByteArray url) {
    url = url.trimmed();
    if (!url.startsWith("file:")) return {};
    url.remove(0, 5);
    if (url.startsWith("//")) {
        const qsizetype pathStart = url.indexOf('/', 2);
        const QByteArray host = url.mid(2, pathStart < 0 ? -1 : pathStart - 2);
        if (pathStart < 0 || !(host.isEmpty() || host == "localhost")) return {};
        url.remove(0, pathStart);
    }
    return url.startsWith('/') ? QByteArray::fromPercentEncoding(url) : QByteArray();
}

QList<QByteArray> PathsFromUrlLines(const QList<QByteArray>& lines) {
    QList<QByteArray> paths;
    for (const QByteArray& line : lines) {
        if (line.startsWith('#')) continue;
        const QByteArray path = PathFromFileUrl(line);
        if (!path.isEmpty()) paths.append(path);
    }
    return paths;
}

// GNOME and MATE write "copy" or "cut", then one URL a line.
bool ReadCopiedFiles(const QByteArray& data, TClipboardPaste& paste) {
    QList<QByteArray> lines = data.split('\n');
    const QByteArray action = lines.isEmpty() ? QByteArray() : lines.takeFirst().trimmed();
    if (action != "copy" && action != "cut") return false;
    paste.IsCut = action == "cut";
    paste.Paths = PathsFromUrlLines(lines);
    return true;
}

} // namespace

QByteArray FileUrlFromPath(const QByteArray& path) {
    return "file://" + path.toPercentEncoding(PathCharacters);
}

QMimeData* MakeFolderClipboardData(const QList<QByteArray>& paths, TClipboardAction action) {
    const bool cut = action == TClipboardAction::Cut;
    QByteArray uriList;
    QByteArray copiedFiles = cut ? "cut" : "copy";
    QStringList text;
    for (const QByteArray& path : paths) {
        const QByteArray url = FileUrlFromPath(path);
        uriList += url + "\r\n";
        copiedFiles += "\n" + url;
        text.append(QString::fromUtf8(path)); // for the eye only: invalid bytes show as U+FFFD
    }
    auto* data = new QMimeData;
    data->setData(UriListFormat, uriList);
    data->setData(GnomeFormat, copiedFiles);
    data->setData(MateFormat, copiedFiles);
    data->setData(KdeCutFormat, cut ? "1" : "0");
    data->setText(text.join(QLatin1Char('\n')));
    return data;
}

TClipboardPaste ReadClipboardPaste(const QMimeData* data) {
    TClipboardPaste paste;
    if (data == nullptr) return paste;
    for (const QString& format : {GnomeFormat, MateFormat})
        if (data->hasFormat(format) && ReadCopiedFiles(data->data(format), paste)) return paste;
    if (data->hasFormat(UriListFormat)) {
        paste.Paths = PathsFromUrlLines(data->data(UriListFormat).split('\n'));
        paste.IsCut = data->data(KdeCutFormat).startsWith('1');
        return paste;
    }
    // Nautilus puts its list into plain text under this first line. Any other text is nothing
    // to paste: a path copied as text from a terminal must not copy a whole folder tree.
    const QByteArray text = data->hasText() ? data->text().toUtf8() : QByteArray();
    const QByteArray nautilusMark = "x-special/nautilus-clipboard\n";
    if (text.startsWith(nautilusMark)) ReadCopiedFiles(text.mid(nautilusMark.size()), paste);
    return paste;
}
