#pragma once
// The application object. Handlers run through Guarded(); notify() is the last guard for
// anything that escapes elsewhere, so no exception ever leaves an event's handling.

#include <QApplication>
#include <QIcon>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The program's own icon, at the sizes the icon theme installs it.
QIcon ApplicationIcon();
