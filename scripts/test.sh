#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a plain build, once built with
# AddressSanitizer and UndefinedBehaviorSanitizer; then runs each fuzz target for 30 s.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh

jobs=$(nproc)
build_and_test() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DZELVORA_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 300)
}

export QT_QPA_PLATFORM=offscreen
build_and_test build
./scripts/check-install.sh build
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build_and_test build-sanitize -DZELVORA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
./scripts/fuzz.sh 30

# The engine for Windows: cross-built with mingw-w64, its tests run under Wine.
cmake -S engine -B build-engine-windows -G Ninja -DZELVORA_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" >/dev/null
cmake --build build-engine-windows -j "$jobs"
(cd build-engine-windows && ctest --output-on-failure -j "$jobs" --timeout 300)
./scripts/test-windows-window.sh # Qt for Windows, the window's tests under Wine, packages, e2e
echo "All tests passed (plain and sanitized builds, fuzzing, the engine under Wine)."
