#!/usr/bin/env bash
# Runs the whole job as a user would, under Xvfb: a fresh home whose desktop holds a folder of
# photos; the keyboard picks the folder in the tree, sets a start number, a digit count and a
# leading text, and presses "应用改名". Screenshots of the window at start, before and after the
# renaming are saved, and one of the window at start on a 144 dpi screen.
# Usage: scripts/demo.sh [OUTPUT-FOLDER]   (default: doc)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target zelvora
out=$(realpath "${1:-doc}")
mkdir -p "$out"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/Desktop/照片"
for name in "海边.jpg" "IMG_0002.jpg" "IMG_0010.jpg" "生日 2011.jpg" "notes.txt"; do
    echo "$name" > "$home/Desktop/照片/$name"
done
mkdir "$home/Desktop/照片/旧相册"
# One fixed time, so that screenshots of two builds compare pixel for pixel.
touch -d "2011-12-08 14:30:00" "$home/Desktop/照片"/* "$home/Desktop/照片"

export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    set -e
    build/zelvora & pid=$!
    for _ in $(seq 50); do
        window=$(xdotool search --name "Zelvora 2011" 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.2
    done
    sleep 1
    import -window root "$0/window.png"
    key() { xdotool key --delay 120 "$@"; sleep 0.3; }
    # The tree has the focus: 桌面, 主文件夹, 计算机, 网络, 回收站, then the desktop folder 照片.
    key Down Down Down Down Down
    # Tab: 关闭, 改名类型, 开始 (Edit1), 位数 (Edit2), 前字符 (Edit3).
    key Tab Tab Tab ctrl+a
    xdotool type --delay 80 "7"; key Tab ctrl+a
    xdotool type --delay 80 "3"; key Tab ctrl+a
    xdotool type --delay 80 "Trip-"
    import -window root "$0/demo-before.png"
    key Tab Tab space
    sleep 1
    import -window root "$0/demo-after.png"
    kill $pid; wait $pid 2>/dev/null || true' "$out"
# The window at start on a 144 dpi screen: every length grows with the text height, 18 / 12.
touch -d "2011-12-08 14:30:00" "$home/Desktop/照片" # the renames above moved its time
QT_FONT_DPI=144 xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 144" bash -c '
    build/zelvora & pid=$!
    for _ in $(seq 50); do
        window=$(xdotool search --name "Zelvora 2011" 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.2
    done
    sleep 1
    import -window root "$0/window-144dpi.png"
    kill $pid; wait $pid 2>/dev/null || true' "$out"
for shot in "$out"/window.png "$out"/window-144dpi.png "$out"/demo-before.png "$out"/demo-after.png; do
    convert "$shot" -trim +repage "$shot"
done
echo "On disk afterwards:"; ls -1 "$home/Desktop/照片"
echo "Screenshots: $out/window.png $out/window-144dpi.png $out/demo-before.png $out/demo-after.png"
