#include <QApplication>

#include "engine/engine.h"
#include "ui/Umain.h"
#include "ui/linux_namespace.h"

int main(int argc, char* argv[]) {
    // The namespace and the regional settings exist before any window.
    QApplication app(argc, argv);
    // The name alone, not a display name: Qt would append a display name to every window
    // caption ("Zelvora 2011 — Zelvora"). Message boxes take the name as their caption.
    QApplication::setApplicationName(QStringLiteral("Zelvora"));
    const TShellNamespaceScope shellNamespace(CreateUserNamespace());
    TFrmMain FrmMain(engine::ReadRegionalSettings());
    FrmMain.show();
    return QApplication::exec();
}
