#!/usr/bin/env bash
# Packs a Windows build as a Windows user expects it: a portable zip (zelvora.exe, the Qt DLLs
# it needs, the platform and style plugins, Qt's translations, the licences) and an NSIS
# installer with Zelvora's own side picture and the licences on a page of their own.
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
# Qt is under the LGPL 3, which is the GPL 3 with extra permissions: both texts go with it.
cp /usr/share/common-licenses/LGPL-3 "$stage/LICENSE-Qt-LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$stage/LICENSE-Qt-GPL-3.txt"

# What the installer shows but doesn't install: its side picture and its licence page.
pages=$out/installer-pages
rm -rf "$pages" && mkdir -p "$pages"
# The welcome and finish pages' picture, 164 × 314, as a 24-bit BMP (NSIS takes no other):
# the icon on a run of the icon's own blues, the name below it.
rsvg-convert -w 112 -h 112 data/icons/zelvora.svg -o "$pages/icon.png"
convert -size 164x314 gradient:'#2B74C9-#1F5FAD' \
    "$pages/icon.png" -gravity north -geometry +0+56 -composite \
    -fill white -font DejaVu-Sans-Bold -pointsize 22 -annotate +0+186 Zelvora \
    -alpha off -type TrueColor BMP3:"$pages/side.bmp"
# Zelvora's licence, then Qt's with where its source is. The notice's paragraphs are joined
# into one line each (Chinese needs no space where lines meet), for the page's box to wrap.
# NSIS reads UTF-8 only after a byte order mark, and its text box wants CRLF line ends.
qt_source=$(sed -n 's/^debian_version=//p' scripts/build-qt-windows.sh)
{
    printf '\xef\xbb\xbf'
    awk 'BEGIN { RS = ""; ORS = "\n\n" } { gsub(/\n/, ""); print }' <<EOT
Zelvora $version 依 MIT 许可证发布，全文见第一部分。

Zelvora 随附的 Qt 库（Qt6Core、Qt6Gui、Qt6Widgets 及 platforms、styles 两个文件夹中的插件）
是 Qt ${qt_source%%+*} 的 qtbase 模块，依 GNU 宽通用公共许可证第 3 版（LGPL-3）发布，全文见
第二部分；它所补充的 GNU 通用公共许可证第 3 版在安装文件夹的 LICENSE-Qt-GPL-3.txt 中。
这些 Qt 库由 Debian 12 的 qt6-base 源码包 $qt_source（含 Debian 的补丁）构建，我们未作修改。
其完整源代码可用 apt-get source qt6-base=$qt_source 从 Debian 的软件源获得；
构建方法见 Zelvora 源代码中的 scripts/build-qt-windows.sh。Qt 以动态库的形式随附，
您可以用自己修改、构建的 Qt 库（与之二进制兼容的版本）替换它们。
EOT
    cat <<EOT

一、Zelvora 的许可证（MIT）
===========================

EOT
    cat LICENSE
    cat <<EOT


二、Qt 的许可证（GNU LGPL 第 3 版）
===================================

EOT
    cat /usr/share/common-licenses/LGPL-3
} | sed 's/$/\r/' >"$pages/licence.txt"

zip="$out/Zelvora-$version-windows-x64.zip"
rm -f "$zip"
(cd "$out" && zip -qr9 "$zip" "Zelvora-$version")
installer="$out/Zelvora-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$installer" \
    -DLICENCE_PAGE="$pages/licence.txt" -DSIDE_PICTURE="$pages/side.bmp" \
    packaging/windows/zelvora.nsi >/dev/null
echo "$zip"
echo "$installer"
