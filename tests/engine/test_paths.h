#pragma once
// Paths of the engine (UTF-8 bytes, the platform's separator) in the tests of every platform.

#include <filesystem>
#include <random>
#include <string>

#include "engine/platform/platform.h"

namespace test_paths {

namespace fs = std::filesystem;

// The separator CurrentFolder ends in.
inline const std::string Sep(1, engine::platform::FolderSeparator);

inline bool OnWindows() {
    return engine::platform::FolderSeparator == '\\';
}

// The error for a digit count above 255, whose limit is told in the platform's unit of names.
inline std::string DigitCountTooLarge(const std::string& text) {
    return "'" + text + "' is too large a digit count: a name holds at most " +
           (OnWindows() ? "255 UTF-16 code units" : "255 bytes");
}

// The engine's bytes as the standard library takes a path on every platform (on Windows a
// plain std::string would be read in the ANSI code page).
inline fs::path PathOf(const std::string& bytes) {
    return fs::path(std::u8string(bytes.begin(), bytes.end()));
}

inline std::string BytesOf(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// A new empty folder in the system's temporary folder, named `prefix` and a random part.
inline std::string MakeTempFolder(const std::string& prefix,
                                  const fs::path& parent = fs::temp_directory_path()) {
    std::random_device random;
    for (;;) {
        const fs::path path = parent / (prefix + "-" + std::to_string(random() % 1000000000));
        if (fs::create_directory(path)) return BytesOf(path);
    }
}

} // namespace test_paths
