#pragma once

class QWindow;

// Gives `window` a fixed single frame: a border, a title bar with a system menu and the
// minimise and maximise buttons, moving, minimising, maximising and closing, but no resizing
// by dragging. On X11 these are the Motif window manager hints, which Qt always sets with
// resizing; on Windows the window's styles, without a sizing border. Run it after Qt has set
// its own, before the window is shown. Returns false when nothing could be set (another
// platform plugin, no native window).
bool SetFixedFrameHints(QWindow* window);
