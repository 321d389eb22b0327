#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks what a desktop finds there: the
# desktop entry, the AppStream metainfo, the icons, the manual page; then packs the Debian
# package and checks its dependencies. Usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/zelvora share/man/man1/zelvora.1 share/icons/hicolor/scalable/apps/zelvora.svg \
            share/icons/hicolor/48x48/apps/zelvora.png share/icons/hicolor/128x128/apps/zelvora.png; do
    [ -e "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
desktop-file-validate "$prefix"/share/applications/*.desktop
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$prefix"
# Help and version need no display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zelvora" --version \
    | grep -q '^zelvora [0-9]'
if man --warnings -l "$prefix/share/man/man1/zelvora.1" 2>&1 >/dev/null | grep .; then
    echo "the manual page has warnings" >&2
    exit 1
fi

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/zelvora_*.deb | head -n 1)
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' \
    || { echo "$deb: dependencies missing" >&2; exit 1; }
echo "Install checks passed: $(basename "$deb")"
