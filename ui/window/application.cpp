#include "ui/window/application.h"

#include "ui/widgets/error_display.h"
#include "ui/widgets/icon_theme.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The name alone, not a display name: Qt would append a display name to every window
    // caption ("Zelvora 2011 — Zelvora"). Message boxes take the name as their caption.
    setApplicationName(QStringLiteral("Zelvora"));
    UseInstalledIconTheme(); // before anything looks an icon up
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
