#pragma once

#include <functional>
#include <thread>

// Runs `work` on a thread of its own below the normal priority: work done ahead of need, which
// must not slow the thread that builds and paints the window.
std::jthread StartBackgroundThread(std::function<void()> work);
