#include "ui/widgets/background_thread.h"

std::jthread StartBackgroundThread(std::function<void()> work) {
    return std::jthread([work = std::move(work)] {
        LowerThreadPriority();
        work();
    });
}
