#include "ui/widgets/platform_widgets.h"

#include <windows.h>

#include <QGuiApplication>
#include <QWindow>

// Qt gives a window with a maximise button a sizing border: the border goes, the rest stays.
// The frame changes size with it, so Windows is told to measure it again.
bool SetFixedFrameHints(QWindow* window) {
    if (!window || QGuiApplication::platformName() != u"windows") return false;
    const auto handle = reinterpret_cast<HWND>(window->winId());
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    const LONG_PTR fixed = (style & ~LONG_PTR(WS_THICKFRAME)) | WS_CAPTION | WS_SYSMENU |
                           WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    if (fixed != style) {
        SetWindowLongPtrW(handle, GWL_STYLE, fixed);
        SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return true;
}

// Windows has no icon theme: the folder tree shows the shell's own icons, and the main image
// list draws what no theme offers.
void UseInstalledIconTheme() {}

void StartReadingIconTheme() {}
