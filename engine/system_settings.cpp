// What the engine passes on from the system to the window.
#include "engine/engine.h"

#include "engine/platform/platform.h"

namespace engine {

std::string DefaultJournalFolder() {
    return platform::StateFolder();
}

std::optional<TFormatSettings> SystemFormatSettings() {
    return platform::SystemFormatSettings();
}

} // namespace engine
