#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zelvora. Without a display it runs the program
# under Xvfb, saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/zelvora
fi
shot=${ZELVORA_SHOT:-$PWD/shot.png}
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    build/zelvora & pid=$!
    sleep 3
    import -window root "$0"
    kill $pid 2>/dev/null; wait $pid 2>/dev/null || true' "$shot"
echo "No display: ran Zelvora under Xvfb; screenshot saved to $shot"
