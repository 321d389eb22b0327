#include "ui/window/start_warmup.h"

// Qt reads the Windows fonts through the system once the application object exists, and the
// window's pictures come from the shell: there is nothing to load ahead.
std::jthread StartReadingFontConfiguration() {
    return {};
}

std::jthread StartLoadingServices() {
    return {};
}
