#!/usr/bin/env bash
# Fails when a C++ file differs from what the repository's .clang-format makes of it, naming the
# files; `scripts/check-format.sh --fix` rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find app bench engine fuzz tests ui -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
drifted=0
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        echo "not formatted: $file (scripts/check-format.sh --fix)"
        drifted=1
    fi
done
exit "$drifted"
