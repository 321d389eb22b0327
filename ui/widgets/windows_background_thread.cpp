#include "ui/widgets/background_thread.h"

#include <windows.h>

void LowerThreadPriority() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}
