#include "ui/window/application.h"

#include <QIcon>

#include "ui/widgets/error_display.h"
#include "ui/widgets/icon_theme.h"

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 128})
        icon.addFile(QStringLiteral(":/icons/zelvora-%1.png").arg(size), QSize(size, size));
    return icon;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The name alone, not a display name: Qt would append a display name to every window
    // caption ("Zelvora 2011 — Zelvora"). Message boxes take the name as their caption.
    setApplicationName(QStringLiteral("Zelvora"));
    UseInstalledIconTheme(); // before anything looks an icon up
    // The desktop entry's name: window managers find the menu entry and its icon by it.
    setDesktopFileName(QStringLiteral("org.zelvora.Zelvora"));
    Q_INIT_RESOURCE(application); // the library's resources are linked only when referenced
    setWindowIcon(ApplicationIcon());
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
