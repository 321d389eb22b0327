#pragma once
// Start-up work that runs on the second core while the main thread builds the application
// object and the window, so that the first paint finds it done. Each returned thread joins
// when it goes.

#include <thread>

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
