#pragma once

#include <QByteArray>
#include <QDialog>

// The "属性" dialog of a folder: its path, the size and count of its contents, its
// modification time and its permissions, read once when the dialog is made.
class TFolderPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the folder at `path` (raw bytes); throws engine::TError when it can't be read.
    explicit TFolderPropertiesDialog(const QByteArray& path, QWidget* parent = nullptr);
};
