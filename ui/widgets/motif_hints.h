#pragma once

class QWindow;

// Tells an X11 window manager that `window` may be moved, minimised, maximised and closed but
// not resized, and has a border, a title bar with a system menu and the minimise and maximise
// buttons (the Motif window manager hints, which Qt always sets with resizing). Run it after
// Qt has set its own, before the window is mapped. Does nothing but return false on other
// platforms.
bool SetFixedFrameMotifHints(QWindow* window);
