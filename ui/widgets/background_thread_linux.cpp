#include "ui/widgets/background_thread_linux.h"

#include <sys/resource.h>

// On Linux a thread has a niceness of its own, which this call sets for the calling thread.
constexpr int BackgroundNiceness = 10;

void LowerThreadPriority() {
    ::setpriority(PRIO_PROCESS, 0, BackgroundNiceness);
}

std::jthread StartBackgroundThread(std::function<void()> work) {
    return std::jthread([work = std::move(work)] {
        LowerThreadPriority();
        work();
    });
}
