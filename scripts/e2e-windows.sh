#!/usr/bin/env bash
# The Windows build as a user meets it, under Wine on Xvfb: a fresh Wine prefix, a silent
# install and its entry in "Apps & features", the installed zelvora.exe on a folder, "应用改名"
# clicked, Ctrl+Z pressed, a folder of the tree right-clicked, a drive's root passed as
# Explorer's verb quotes it, the uninstaller; then an install by hand, page by page, keys
# pressed through the X server. Screenshots go to OUT_FOLDER (installer-*.png: its pages).
#   scripts/e2e-windows.sh INSTALLER [OUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
installer=$(realpath "$1")
out=$(realpath -m "${2:-build-windows/e2e}")
mkdir -p "$out"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

work=$(mktemp -d /tmp/zelvora-e2e.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export HOME=$work/home LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
mkdir -p "$HOME"
# A display of our own: Xvfb picks a free number and tells it.
Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp >"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=:$(head -1 "$work/display")
export DISPLAY
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "e2e: $*" >&2; exit 1; }
shot() { import -window root "$out/$1.png"; }

# A window by its title; its id, or failure after `seconds`.
wait_window() {
    local name=$1 seconds=${2:-60} id
    for _ in $(seq $((seconds * 5))); do
        id=$(xdotool search --name "$name" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
# A click at a point of the window's client area, through the X server.
click_at() {
    local id=$1 x=$2 y=$3 button=${4:-1}
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove $((X + x)) $((Y + y)) click "$button"
}
# Waits until `test` (a shell command) succeeds, at most `seconds`.
wait_for() {
    local seconds=$1; shift
    local test="$*"
    for _ in $(seq $((seconds * 5))); do eval "$test" && return 0; sleep 0.2; done
    return 1
}

# The values "Apps & features" shows, under the uninstall key of `root` (HKLM or HKCU).
version=$(sed -n 's/^project(zelvora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
check_uninstall_entry() {
    local key="$1\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvora" values
    values=$("$wine" reg query "$key" 2>/dev/null | tr -d '\r') || fail "no Uninstall entry in $1"
    value() { printf '%s\n' "$values" | awk -v name="$1" '$1 == name {print $3; exit}'; }
    [ "$(value DisplayName)" = Zelvora ] || fail "DisplayName is '$(value DisplayName)'"
    [ "$(value Publisher)" = Zelvora ] || fail "Publisher is '$(value Publisher)'"
    [ "$(value DisplayVersion)" = "$version" ] || fail "DisplayVersion is '$(value DisplayVersion)'"
    [ "$(value URLInfoAbout)" = https://zelvora.org/ ] \
        || fail "URLInfoAbout is '$(value URLInfoAbout)'"
    # The installed files' size in KB: a little below du's, which counts the folders too.
    local size=$(($(value EstimatedSize))) files
    files=$(du -sk --apparent-size "$install_dir" | cut -f1)
    [ "$size" -gt $((files * 95 / 100)) ] && [ "$size" -le "$files" ] \
        || fail "EstimatedSize is $size KB for $files KB of files"
    printf '%s\n' "$values" | grep -E 'DisplayName|Publisher|DisplayVersion|URLInfoAbout|EstimatedSize'
}

"$wine" wineboot --init >/dev/null 2>&1; "$wineserver" -w
# Wine's own title bars show Chinese only through a font link to a CJK font.
"$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
"$wineserver" -w

echo "e2e: silent install"
"$wine" "$installer" /S; "$wineserver" -w
program=$(find "$WINEPREFIX/drive_c" -ipath '*/zelvora/zelvora.exe' | head -1)
[ -n "$program" ] || fail "the installer put no zelvora.exe in place"
install_dir=$(dirname "$program")
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvora'
check_uninstall_entry HKLM
"$wine" reg query 'HKLM\Software\Classes\Directory\shell\Zelvora\command' 2>/dev/null \
    | grep -q 'zelvora.exe" "%1"' || fail "no folder verb in Explorer's menu"
"$wine" reg query 'HKLM\Software\Classes\Directory\Background\shell\Zelvora\command' \
    2>/dev/null | grep -qF 'zelvora.exe" "%V\."' || fail "no background verb in Explorer's menu"
find "$WINEPREFIX/drive_c" -iname 'Zelvora.lnk' | grep -q . || fail "no Start-menu entry"

folder=$WINEPREFIX/drive_c/照片
mkdir -p "$folder/旧相册"
for name in 海边.jpg IMG_0002.jpg notes.txt; do echo "$name" >"$folder/$name"; done
touch -d "2011-12-08 14:30:00" "$folder"/* # screenshots of two builds compare pixel for pixel

echo "e2e: start the installed program"
WINEQT_QPA_PLATFORM="windows:fontengine=freetype" "$wine" "$program" 'C:\照片' &
window=$(wait_window "Zelvora 2011" 90) || { shot no-window; fail "no window titled Zelvora 2011"; }
sleep 3
shot window

echo "e2e: 应用改名"
click_at "$window" 741 453
wait_for 20 '[ -e "$folder/A-0001 IMG_0002.jpg" ]' || { shot apply; fail "应用改名 renamed nothing"; }
sleep 1
shot applied
for name in "A-0001 IMG_0002.jpg" "A-0002 notes.txt" "A-0003 旧相册" "A-0004 海边.jpg"; do
    [ -e "$folder/$name" ] || fail "missing after renaming: $name"
done

echo "e2e: Ctrl+Z"
click_at "$window" 500 200 # the list has the focus, so the key goes to the window
xdotool key ctrl+z
wait_for 20 '[ -e "$folder/海边.jpg" ]' || { shot undo; fail "Ctrl+Z brought nothing back"; }
sleep 1
shot undone
for name in 海边.jpg IMG_0002.jpg notes.txt 旧相册; do
    [ -e "$folder/$name" ] || fail "missing after Ctrl+Z: $name"
done

echo "e2e: the shell's menu on a folder of the tree"
# The second row of the tree, not the selected folder: the menu pops up beside the pointer.
eval "$(xdotool getwindowgeometry --shell "$window")"
region="200x160+$((X + 60))+$((Y + 30))"
import -window root -crop "$region" "$work/before-menu.png"
click_at "$window" 60 30 3
sleep 2
shot shell-menu
import -window root -crop "$region" "$work/after-menu.png"
changed=$(compare -metric AE "$work/before-menu.png" "$work/after-menu.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 2000 ] || fail "a right click on the tree opened no menu ($changed pixels)"
xdotool key Escape
sleep 1
for name in 海边.jpg IMG_0002.jpg notes.txt 旧相册; do
    [ -e "$folder/$name" ] || fail "the menu changed the folder: $name"
done

xdotool key alt+F4 || true
wait_for 20 '! xdotool search --name "Zelvora 2011" >/dev/null 2>&1' || fail "the window stayed open"

# Explorer's background verb as it was once registered, "%V", on a drive: the command line
# `"…\zelvora.exe" "C:\"`, which Windows' rules split into `C:"`. A batch file hands its line
# to CreateProcess as written. The window must list C:\ with no error box.
echo "e2e: a drive's root as Explorer's verb quotes it"
printf '"%s" "C:\\"\r\n' "$("$wine" winepath -w "$program" 2>/dev/null | tr -d '\r')" \
    >"$WINEPREFIX/drive_c/zelvora-drive.bat"
WINEQT_QPA_PLATFORM="windows:fontengine=freetype" "$wine" cmd /c 'C:\zelvora-drive.bat' &
window=$(wait_window "Zelvora 2011" 90) || { shot no-window; fail "no window for C:\\"; }
sleep 3
shot drive-root
! xdotool search --name '^Zelvora$' >/dev/null 2>&1 || fail "an error box instead of C:\\"
"$wineserver" -k; sleep 1

# In a Wine desktop, Wine draws the title bars itself, with the font link for Chinese: the
# window's frame, and --help in a message box, since a window program has no console.
echo "e2e: frame and --help in a Wine desktop"
"$wine" explorer /desktop=Zelvora,1100x640 "$program" 'C:\照片' &
sleep 12
shot desktop-window
"$wineserver" -k; sleep 1
"$wine" explorer /desktop=Zelvora,1100x640 "$program" --help &
sleep 8
shot help
"$wineserver" -k; sleep 1

echo "e2e: uninstall"
"$wine" "$install_dir/uninstall.exe" /S; "$wineserver" -w
sleep 2 # the uninstaller runs a copy of itself from the temporary folder
"$wineserver" -w
[ ! -e "$install_dir" ] || fail "the uninstaller left $(ls "$install_dir" | tr "\n" " ")"
! "$wine" reg query "$uninstall_key" >/dev/null 2>&1 || fail "the Uninstall entry stayed"

# By hand: Enter takes each page's default button (下一步, 我接受, 下一步, 安装, 下一步 once
# the files are in place, 完成). The keys go to the window under the pointer.
echo "e2e: an install by hand, page by page"
"$wine" "$installer" &
setup=$(wait_window "Zelvora 安装" 60) || { shot no-installer; fail "no installer window"; }
eval "$(xdotool getwindowgeometry --shell "$setup")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10))
for page in welcome licence install-mode folder; do
    sleep 2
    shot "installer-$page"
    xdotool key Return
done
wait_for 60 '[ -e "$install_dir/uninstall.exe" ] && [ -e "$install_dir/zelvora.exe" ]' \
    || fail "the install by hand put nothing in place"
sleep 3
shot installer-installed
xdotool key Return
sleep 2
shot installer-finish
xdotool key alt+r # 运行 Zelvora: off
sleep 1
shot installer-finish-unchecked
xdotool key Return
wait_for 20 '! xdotool search --name "Zelvora 安装" >/dev/null 2>&1' || fail "the installer stayed"
"$wineserver" -k; sleep 1
check_uninstall_entry HKLM
"$wine" "$install_dir/uninstall.exe" /S; "$wineserver" -w
sleep 2
"$wineserver" -w
echo "e2e: passed; screenshots in $out"
