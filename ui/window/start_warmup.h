#pragma once
// Start-up work that can run on the second core while the main thread builds the application
// object and the window, so that the first paint finds it done.

#include <thread>

// Reads the system's font configuration, the larger part of what the first text costs. Call
// before the application object; the returned thread joins when it goes.
std::jthread StartReadingFontConfiguration();

// Loads on the thread pool what the window would otherwise wait for while it is built and
// painted. Call once the application object exists.
void StartLoadingServices();
