#pragma once

#include <QByteArray>
#include <QDialog>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"

// The "属性" dialog of a folder: its path, the size and count of its contents, its
// modification time (in the regional settings the file list uses) and its permissions, read
// once when the dialog is made.
class TFolderPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the folder at `path` (raw bytes); throws engine::TError when it can't be read.
    TFolderPropertiesDialog(const QByteArray& path, const engine::TFormatSettings& settings,
                            QWidget* parent = nullptr);
};
