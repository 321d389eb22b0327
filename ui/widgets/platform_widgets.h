#pragma once
// What our controls ask of the platform: the window frame and the icon theme. Each platform
// has its own file (platform_widgets_linux.cpp, platform_widgets_win.cpp).

class QWindow;

// Gives `window` a fixed single frame: a border, a title bar with a system menu and the
// minimise and maximise buttons, moving, minimising, maximising and closing, but no resizing
// by dragging. On X11 these are the Motif window manager hints, which Qt always sets with
// resizing; on Windows the window's styles, without a sizing border. Run it after Qt has set
// its own, before the window is shown. Returns false when nothing could be set (another
// platform plugin, no native window).
bool SetFixedFrameHints(QWindow* window);

// Lets named icons ("folder", "user-home", "computer", …) resolve from the installed theme in
// any session, also without a desktop: the freedesktop icon folders are searched, Adwaita fills
// in what the session's theme lacks, and stands in for a theme that is missing or not chosen
// ("hicolor" alone has none of these icons). Call once the QApplication exists; calling again
// changes nothing.
void UseInstalledIconTheme();

// Reads the theme's index files, which the first lookup would otherwise read on the main
// thread, on a thread of their own. Qt's icon loader is not thread-safe: call it once the theme
// is set up, and call UseInstalledIconTheme(), which waits for the reading, before any lookup.
void StartReadingIconTheme();
