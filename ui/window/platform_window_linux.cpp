#include "ui/window/platform_window.h"

#include <cstdio>

#include <fontconfig/fontconfig.h>

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>

#include "ui/widgets/background_thread_linux.h"
#include "ui/window/command_line.h"
#include "ui/window/regional_settings_watch.h"

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

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

int ReportCommandLine(const TCommandLine& commandLine) {
    std::fputs(commandLine.Output.toLocal8Bit().constData(), stdout);
    std::fputs(commandLine.ErrorOutput.toLocal8Bit().constData(), stderr);
    return commandLine.ExitCode.value_or(0);
}

std::unique_ptr<QAbstractNativeEventFilter> WatchRegionalSettings(TRegionalSettingsWatch&) {
    return nullptr;
}
