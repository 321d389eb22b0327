#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase only) for 64-bit Windows from Debian's own qt6-base source with the
# mingw-w64 cross compiler, and installs it into a cache folder outside the clone. A prefix built
# by the same recipe (this script and the toolchain file) is reused; a changed recipe rebuilds it.
# Prints the prefix on its last line. Takes 10-25 minutes on 2 cores.
set -euo pipefail
cd "$(dirname "$0")/.."

version=6.4.2
debian_version=6.4.2+dfsg-10
cache=${XDG_CACHE_HOME:-$HOME/.cache}/zelvora
prefix=$cache/qt-$version-mingw-w64
toolchain=$PWD/cmake/mingw-w64.cmake
jobs=${ZELVORA_JOBS:-2}

recipe=$(cat "$0" "$toolchain" | sha256sum | cut -d' ' -f1)
if [ -f "$prefix/zelvora-recipe" ] && [ "$(cat "$prefix/zelvora-recipe")" = "$recipe" ]; then
    echo "Qt for Windows is up to date."
    echo "$prefix"
    exit 0
fi

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# apt-get source needs deb-src entries. Copy the URIs and suites of the machine's own Debian
# entry into a sources file of ours, so no archive host is written down here.
add_source_entries() {
    local list=/etc/apt/sources.list.d/zelvora-qt-source.sources
    [ -f "$list" ] && return 0
    local entry
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        entry=$(awk -v RS= '/Types:.*deb/ && /Components:.*main/ && !/security/ {print; exit}' \
            /etc/apt/sources.list.d/debian.sources)
        entry=$(printf '%s\n' "$entry" | sed -e 's/^Types:.*/Types: deb-src/' -e '/^#/d')
    else
        local line
        line=$(grep -E '^deb [^ ]+ [a-z]+ .*main' /etc/apt/sources.list | grep -v security | head -1)
        set -- $line
        entry=$(printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\n' "$2" "$3")
    fi
    [ -n "$entry" ] || { echo "No Debian entry to copy for deb-src" >&2; exit 1; }
    printf '%s\n' "$entry" | sudo_if_needed tee "$list" >/dev/null
    sudo_if_needed apt-get update -q
}

fetch_source() {
    local work=$1
    add_source_entries
    (cd "$work" && apt-get source -q "qt6-base=$debian_version" >"$work/source.log")
    mv "$work"/qt6-base-*/ "$work/src"
}

configure_qt() {
    local work=$1
    cmake -S "$work/src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF \
        -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF \
        -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_androiddeployqt=OFF -DFEATURE_system_zlib=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_testlib=ON \
        -DFEATURE_style_windowsvista=ON >"$work/configure.log"
}

for tool in x86_64-w64-mingw32-g++-posix ninja dpkg-source; do
    command -v "$tool" >/dev/null || { echo "Missing $tool: run scripts/setup-debian.sh" >&2; exit 1; }
done
mkdir -p "$cache"
work=$(mktemp -d "$cache/qt-build.XXXXXX")
trap 'echo "Qt build failed; its logs are in $work" >&2' ERR
start=$(date +%s)
fetch_source "$work"
configure_qt "$work"
ninja -C "$work/build" -j "$jobs" >"$work/build.log" \
    || { tail -40 "$work/build.log" >&2; false; }
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null
for dll in "$prefix"/bin/Qt6*.dll "$prefix"/plugins/*/*.dll; do
    x86_64-w64-mingw32-strip --strip-unneeded "$dll"
done
echo "$recipe" >"$prefix/zelvora-recipe"
rm -rf "$work"
echo "Built Qt $version for Windows in $(( ($(date +%s) - start) / 60 )) min."
echo "$prefix"
