#pragma once

#include <QWidget>

// The main window; its controls come with the window's own work.
class TFrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TFrmMain(QWidget* parent = nullptr);
};
