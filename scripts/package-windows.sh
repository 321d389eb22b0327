#!/usr/bin/env bash
# Packs a Windows build as a Windows user expects it: a portable zip (zelvora.exe, the Qt DLLs
# it needs, the platform and style plugins, Qt's translations, the licences) and an NSIS
# installer.
#   scripts/package-windows.sh BUILD_FOLDER QT_PREFIX [OUT_FOLDER]
# Prints the paths of the zip and the installer.
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(realpath "$1")
qt=$(realpath "$2")
out=$(realpath -m "${3:-$build/packages}")
version=$(sed -n 's/^project(zelvora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$out/Zelvora-$version
runtime=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
strip=x86_64-w64-mingw32-strip

rm -rf "$stage" && mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations" "$out"
cp "$build/zelvora.exe" "$stage/"
for module in Core Gui Widgets; do cp "$qt/bin/Qt6$module.dll" "$stage/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt's own texts in the user's language; the files are the same on every platform.
cp /usr/share/qt6/translations/qtbase_*.qm "$stage/translations/"
# Qt's DLLs are linked against the compiler's runtime; zelvora.exe has it built in.
cp "$runtime/libstdc++-6.dll" "$runtime/libgcc_s_seh-1.dll" \
   /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
"$strip" --strip-unneeded "$stage/zelvora.exe" "$stage"/*.dll "$stage"/*/*.dll
cp data/icons/zelvora.ico "$stage/"
cp LICENSE "$stage/LICENSE.txt"
cp /usr/share/common-licenses/LGPL-3 "$stage/LICENSE-Qt-LGPL-3.txt"

zip="$out/Zelvora-$version-windows-x64.zip"
rm -f "$zip"
(cd "$out" && zip -qr9 "$zip" "Zelvora-$version")
installer="$out/Zelvora-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$installer" \
    packaging/windows/zelvora.nsi >/dev/null
echo "$zip"
echo "$installer"
