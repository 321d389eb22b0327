#pragma once
// The application object. Handlers run through Guarded(); notify() is the last guard for
// anything that escapes elsewhere, so no exception ever leaves an event's handling.

#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
