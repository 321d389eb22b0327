#pragma once
// What the window asks of the platform outside any one window: its arguments, its console, its
// start-up work and its news of changed settings. Each platform has its own file
// (platform_window_linux.cpp, platform_window_win.cpp); what a platform lacks is a no-op there.

#include <memory>
#include <string>
#include <thread>
#include <vector>

class QAbstractNativeEventFilter;
class TRegionalSettingsWatch;
struct TCommandLine;

// The program's arguments, its name first, as bytes the engine takes: on Linux `argv` as it
// came; on Windows the wide command line in UTF-8 (argv holds the ANSI code page's lossy
// version), without the options the application object has taken out once it exists.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Shows the command line's output and error output: printed on Linux; on Windows, where a
// window program has no console, printed to the console it was started from, else shown in a
// message box. Returns the exit code.
int ReportCommandLine(const TCommandLine& commandLine);

// Has `watch` announce each change of the regional settings the platform tells of, for as long
// as the returned filter lives. Windows tells of its "intl" settings and of a restarted shell;
// Linux tells of nothing (its settings are read once at start-up) and gets no filter.
std::unique_ptr<QAbstractNativeEventFilter> WatchRegionalSettings(TRegionalSettingsWatch& watch);

// Start-up work that runs on the second core while the main thread builds the application
// object and the window, so that the first paint finds it done. Each returned thread joins
// when it goes; an empty one is returned where there is nothing to load ahead.
// Reads the system's font configuration, the larger part of what the first text costs. Call
// before the application object, and wait for it before the first use of Qt's fonts: a second
// reader would parse the configuration again beside it, and fontconfig leaks the loser's copy.
std::jthread StartReadingFontConfiguration();

// Returns once the thread has finished; an empty thread has nothing to wait for.
inline void WaitUntilDone(std::jthread& thread) {
    if (thread.joinable()) thread.join();
}

// Loads what the window would otherwise wait for while it is built and painted. Call once the
// application object exists, and let the thread go before it.
std::jthread StartLoadingServices();
