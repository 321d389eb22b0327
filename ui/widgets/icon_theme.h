#pragma once

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
