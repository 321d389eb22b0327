#include "ui/widgets/platform_widgets.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QStandardPaths>
#include <QWindow>

#include <xcb/xcb.h>

#include "ui/widgets/background_thread_linux.h"

namespace {

// The Motif window manager's hints: flags, functions, decorations, input mode, status.
enum : std::uint32_t { HintsFunctions = 1, HintsDecorations = 2 };
enum : std::uint32_t { FuncMove = 4, FuncMinimize = 8, FuncMaximize = 16, FuncClose = 32 };
enum : std::uint32_t {
    DecorBorder = 2,
    DecorTitle = 8,
    DecorMenu = 16,
    DecorMinimize = 32,
    DecorMaximize = 64
};

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

bool SetFixedFrameHints(QWindow* window) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr; // none offscreen
    if (!connection || !window) return false;
    const xcb_atom_t hintsAtom = InternAtom(connection, "_MOTIF_WM_HINTS");
    if (hintsAtom == XCB_ATOM_NONE) return false;
    const std::uint32_t hints[5] = {
        HintsFunctions | HintsDecorations, FuncMove | FuncMinimize | FuncMaximize | FuncClose,
        DecorBorder | DecorTitle | DecorMenu | DecorMinimize | DecorMaximize, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window->winId()), hintsAtom, hintsAtom, 32, 5,
                        hints);
    xcb_flush(connection);
    return true;
}

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
