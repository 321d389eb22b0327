#include <QApplication>

#include "ui/Umain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The name alone, not a display name: Qt would append a display name to every window
    // caption ("Zelvora 2011 — Zelvora"). Message boxes take the name as their caption.
    QApplication::setApplicationName(QStringLiteral("Zelvora"));
    TFrmMain FrmMain;
    FrmMain.show();
    return QApplication::exec();
}
