#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a plain build, once built with
# AddressSanitizer and UndefinedBehaviorSanitizer; then runs each fuzz target for 30 s.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Each build is a preset of CMakePresets.json: dev, asan, windows-cross (and fuzz).
build_and_test() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs"
}

build_and_test dev
./scripts/check-install.sh build
build_and_test asan
./scripts/fuzz.sh 30

# The engine for Windows: cross-built with mingw-w64, its tests run under Wine.
build_and_test windows-cross
./scripts/test-windows-window.sh # Qt for Windows, the window's tests under Wine, packages, e2e
echo "All tests passed (plain and sanitized builds, fuzzing, the engine under Wine)."
