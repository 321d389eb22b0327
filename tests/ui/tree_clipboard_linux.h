#pragma once
// Folders put on the clipboard as Linux file managers put them.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include "ui/tree/folder_clipboard_linux.h"

inline void PutOnClipboard(const QString& path, TClipboardAction action) {
    QGuiApplication::clipboard()->setMimeData(
        MakeFolderClipboardData({QFile::encodeName(path)}, action));
}
