#include "ui/namespace/shell_namespace.h"

#include <ole2.h>

#include "ui/namespace/namespace_win.h"

// The shell's objects, its context menu and its clipboard need OLE on the thread that shows
// the window. Qt initialises it too; the calls are counted, so each start has its stop.
void StartShellServices() {
    OleInitialize(nullptr);
}

void StopShellServices() {
    OleUninitialize();
}

std::unique_ptr<TShellNamespace> CreateUserNamespace() {
    return std::make_unique<TWindowsNamespace>();
}
