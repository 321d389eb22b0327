#include "ui/widgets/background_thread.h"

#include <windows.h>

std::jthread StartBackgroundThread(std::function<void()> work) {
    return std::jthread([work = std::move(work)] {
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        work();
    });
}
