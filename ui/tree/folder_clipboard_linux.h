#pragma once
// Folders on the clipboard in every format that Linux file managers read and write.
// Paths are raw bytes: a name that is not UTF-8 survives the round trip.

#include <QByteArray>
#include <QList>

class QMimeData;

enum class TClipboardAction { Copy, Cut };

// What a clipboard offers to paste.
struct TClipboardPaste {
    QList<QByteArray> Paths; // absolute, percent-decoded bytes
    bool IsCut = false;
};

// The "file://" URL of an absolute path, every byte outside the URL path characters encoded.
QByteArray FileUrlFromPath(const QByteArray& path);

// The clipboard contents for copying or cutting `paths`: text/uri-list,
// x-special/gnome-copied-files, x-special/mate-copied-files, application/x-kde-cutselection
// ("1" for cut, "0" for copy) and the paths as plain text, one a line. The caller owns it.
QMimeData* MakeFolderClipboardData(const QList<QByteArray>& paths, TClipboardAction action);

// What to paste from clipboard contents written by us or by another program: the GNOME/MATE
// list when there is one, else text/uri-list (cut when KDE's mark says "1"), else plain text
// holding absolute paths or file URLs. URLs of other schemes or hosts are left out.
TClipboardPaste ReadClipboardPaste(const QMimeData* data);
