#!/usr/bin/env bash
# The window on Windows, after the Linux stages: builds Qt for Windows when the cache lacks it,
# cross-builds the program and its window tests, runs the tests under Wine, packs the zip and
# the installer, and checks the installed program end to end under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
minutes() { echo $(( ($(date +%s) - $1) / 60 )); }

qt=$(./scripts/build-qt-windows.sh | tail -1)
echo "Qt for Windows ready after $(minutes "$start") min: $qt"

build="build-windows"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVORA_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
    -DZELVORA_ENGINE_TESTS=OFF >/dev/null
cmake --build "$build" -j 2
(cd "$build" && ctest --output-on-failure -j 2 --timeout 300)

packages=$(./scripts/package-windows.sh "$build" "$qt")
echo "$packages"
./scripts/e2e-windows.sh "$(echo "$packages" | grep 'setup.exe$')" "$build/e2e"
echo "Windows window stage passed in $(minutes "$start") min."
