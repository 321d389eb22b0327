#include "ui/window/start_warmup.h"

#include <fontconfig/fontconfig.h>

#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>

#include "ui/widgets/background_thread_linux.h"

// Fontconfig parses its configuration files and maps its caches once per process; Qt's font
// database finds them ready.
std::jthread StartReadingFontConfiguration() {
    return StartBackgroundThread([] { FcInit(); });
}

std::jthread StartLoadingServices() {
    return std::jthread([] {
        QFontDatabase::families(); // Qt's list of the installed fonts, read once per process
        // The screen-reader bridge connects to the session bus when the first view is made,
        // and waits for the connection. The bus's own thread, started here, keeps this
        // thread's priority for the program's life: the normal one.
        QDBusConnection::sessionBus();
        LowerThreadPriority();
        // Qt asks every image-format plugin whether it can read a file of unnamed format, as
        // the icon theme's pictures are, and so loads them all the first time.
        QImageReader::supportedImageFormats();
    });
}
