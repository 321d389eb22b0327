#pragma once
// The tree's "粘贴": what the clipboard holds, pasted into a folder through the engine.

#include <vector>

#include <QByteArray>
#include <QStringList>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"

class QMimeData;

// Pastes the paths that the clipboard contents `data` offer into `targetFolder`: moves them
// after a cut, copies them otherwise, never replacing anything. Throws engine::TError when the
// paste can't start (see engine::PasteInto). Changes the disk.
std::vector<engine::TPasteResult> PasteClipboardInto(const QByteArray& targetFolder,
                                                     const QMimeData* data);

// One line per failed result, “source”：reason; empty when everything was pasted.
QStringList PasteFailureTexts(const std::vector<engine::TPasteResult>& results);
