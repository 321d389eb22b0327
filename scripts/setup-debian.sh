#!/usr/bin/env bash
# Installs what building, running and testing Zelvora needs on Debian 12; does nothing when
# everything is already there.
set -euo pipefail

packages=(g++ cmake make qt6-base-dev libfontconfig-dev libgtest-dev libbenchmark-dev libglib2.0-dev libxcb1-dev
          fontconfig fonts-dejavu-core fonts-wqy-microhei locales
          adwaita-icon-theme libqt6svg6 qt6-translations-l10n xvfb xauth imagemagick xdg-utils xdotool bindfs fuse3
          clang-14 libclang-common-14-dev libclang-rt-14-dev
          desktop-file-utils appstream man-db dpkg-dev file
          g++-mingw-w64-x86-64-posix googletest wine64 wine ninja-build nsis zip librsvg2-bin
          clang-format shellcheck
          exfat-fuse exfatprogs ntfs-3g btrfs-progs sshfs openssh-server openssh-client e2fsprogs util-linux)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_if_needed apt-get update -q
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Locales to try the program in; the window reads its date conventions from Qt's own locale
# data, so the tests need none of them.
for locale in de_DE zh_CN en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^${locale}\.utf-\?8$"; then
        sudo_if_needed localedef -i "$locale" -f UTF-8 "$locale.UTF-8" || true
    fi
done
