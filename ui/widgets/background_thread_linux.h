#pragma once

#include <functional>
#include <thread>

// Lowers the calling thread's priority below the normal, for work done ahead of need that must
// not slow the thread building and painting the window. Threads it starts afterwards inherit
// the lower priority.
void LowerThreadPriority();

// Runs `work` on a thread of its own at that lower priority.
std::jthread StartBackgroundThread(std::function<void()> work);
