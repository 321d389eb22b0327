#include "ui/window/application.h"

#include <QDir>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

#include "ui/common/error_display.h"
#include "ui/widgets/platform_widgets.h"

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 128}) {
        // Named as PNG: for a file of unnamed format Qt first loads every image-format plugin.
        QImageReader reader(QStringLiteral(":/icons/zelvora-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

namespace {

// Qt's own texts (a label editor's menu, standard buttons) in the user's language: from Qt's
// translations folder, or the one beside the program in a Windows package.
void InstallQtTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    const QStringList folders = {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(app.applicationDirPath()).filePath(QStringLiteral("translations"))};
    for (const QString& folder : folders)
        if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                             folder)) {
            app.installTranslator(translator);
            return;
        }
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The name alone, not a display name: Qt would append a display name to every window
    // caption ("Zelvora 2011 — Zelvora"). Message boxes take the name as their caption.
    setApplicationName(QStringLiteral("Zelvora"));
    UseInstalledIconTheme(); // before anything looks an icon up
    // The desktop entry's name: window managers find the menu entry and its icon by it.
    setDesktopFileName(QStringLiteral("org.zelvora.Zelvora"));
    Q_INIT_RESOURCE(application); // the library's resources are linked only when referenced
    setWindowIcon(ApplicationIcon());
    InstallQtTranslations(*this);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
