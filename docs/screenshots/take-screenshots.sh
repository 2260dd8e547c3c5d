#!/usr/bin/env bash
# Shows dialogs on a virtual X display and saves screenshots cropped to them.
#   docs/screenshots/take-screenshots.sh <build dir> [out dir] [dialog[=name] ...]
# dialog is one of confirmation, error, information, authenticate, block, legal, about, or
# frame (the bare main-window frame); the picture is <out dir>/<name>.png. Without dialogs it
# makes the README's three pictures.
# Needs xvfb and imagemagick (scripts/install-deps installs both).
set -euo pipefail

if [ "${1:-}" = --inside-display ]; then
    # One dialog, run by the part below inside xvfb-run.
    program=$2 argument=$3 file=$4
    log=$(mktemp)
    "$program" "$argument" >"$log" &
    pid=$!
    geometry=
    for _ in $(seq 50); do
        geometry=$(head -n1 "$log")
        [ -n "$geometry" ] && break
        sleep 0.1
    done
    sleep 0.3
    import -window root -crop "$geometry" +repage "$file"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    rm -f "$log"
    exit 0
fi

build=$(cd "$1" && pwd)
out=${2:-$(dirname "$0")}
shift $(($# < 2 ? $# : 2))
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(confirmation=messagebox authenticate frame)

for entry in "${kinds[@]}"; do
    kind=${entry%%=*}
    name=${entry#*=}
    if [ "$kind" = frame ]; then
        program=$build/tests/frame/showframe argument=760x480+40+40
    else
        program=$build/tests/dialogs/showdialogs argument=$kind
    fi
    xvfb-run -a -s "-screen 0 1280x800x24" \
        "$0" --inside-display "$program" "$argument" "$out/$name.png"
    echo "$out/$name.png"
done
