#!/usr/bin/env bash
# Checks that what the docs point at is there: every link resolves inside the repository, and
# every path of the repository that they name in backticks exists (globs allowed).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
status=0
for doc in README.md HACKING.md doc/*.md; do
    while IFS= read -r target; do
        case $target in http://* | https://* | mailto:* | '#'*) continue ;; esac
        resolved=$(realpath -m "$(dirname "$doc")/${target%%#*}")
        if [[ $resolved != "$root"/* ]] || [ ! -e "$resolved" ]; then
            echo "$doc: the link $target does not resolve inside the repository"
            status=1
        fi
    done < <(
        { grep -oE '\]\([^)]+\)' "$doc" || true; } | sed -E 's/^\]\(//; s/\)$//'
        { grep -oE '`\.\./[^` ]*`' "$doc" || true; } | tr -d '`'
    )
    while IFS= read -r path; do
        if ! compgen -G "$path" >/dev/null; then
            echo "$doc: names $path, which does not exist"
            status=1
        fi
    done < <(
        { grep -oE '`(engine|ui|app|tests|bench|scripts|doc|data|packaging|cmake|fuzz)/[^` ]*`' \
            "$doc" || true; } | tr -d '`' | sed -E 's/[.,:;]$//'
    )
done
exit $status
