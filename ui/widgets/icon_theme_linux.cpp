#include "ui/widgets/icon_theme.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>

#include "ui/widgets/background_thread_linux.h"

namespace {

const QString FallbackTheme = QStringLiteral("Adwaita");

void SearchFreedesktopIconFolders() {
    QStringList paths = QIcon::themeSearchPaths();
    QStringList folders =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    folders.prepend(QDir::homePath() + QStringLiteral("/.icons"));
    for (const QString& folder : folders)
        if (!paths.contains(folder) && QFileInfo(folder).isDir()) paths.append(folder);
    if (paths != QIcon::themeSearchPaths()) QIcon::setThemeSearchPaths(paths);
}

bool IsInstalled(const QString& theme) {
    for (const QString& folder : QIcon::themeSearchPaths())
        if (QFileInfo::exists(folder + u'/' + theme + QStringLiteral("/index.theme"))) return true;
    return false;
}

std::jthread& ThemeReading() {
    static std::jthread reading;
    return reading;
}

void WaitForThemeReading() {
    if (ThemeReading().joinable()) ThemeReading().join();
}

} // namespace

void StartReadingIconTheme() {
    ThemeReading() = StartBackgroundThread([] {
        QIcon::hasThemeIcon(QStringLiteral("folder")); // every theme has one
    });
}

void UseInstalledIconTheme() {
    WaitForThemeReading();
    SearchFreedesktopIconFolders();
    QIcon::setFallbackThemeName(FallbackTheme);
    // Qt keeps a theme it has read with the fallback it had then, so a theme read before this
    // call would never fall back; naming the fallback as the theme starts afresh.
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == u"hicolor" || !IsInstalled(theme))
        QIcon::setThemeName(FallbackTheme);
}
