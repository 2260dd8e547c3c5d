#!/usr/bin/env bash
# Shows dialogs on a virtual X display and saves screenshots cropped to them.
#   docs/screenshots/take-screenshots.sh [build dir] [out dir] [dialog[=name] ...]
# dialog is one of confirmation, error, information, authenticate, block, legal, about, or
# frame (the bare main-window frame); the picture is <out dir>/<name>.png. Without dialogs it
# makes the README's two pictures. The build dir (default: build/, as scripts/run makes it) must
# be configured; the programs that show the dialogs and the frame are built first, and show
# them through the program's own application object and style.
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
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    status=0
    if [ -n "$geometry" ]; then
        sleep 0.3
        import -window root -crop "$geometry" +repage "$file"
    else
        echo "$(basename "$program") $argument showed no window" >&2
        status=1
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -f "$log"
    exit "$status"
fi

. "$(dirname "$0")/buildfolder.sh"
out=${2:-$(dirname "$0")}
shift $(($# < 2 ? $# : 2))
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(authenticate frame)
for tool in xvfb-run import; do
    command -v "$tool" >/dev/null || fail "$tool is missing: scripts/install-deps installs it"
done
cmake --build "$build" --target showdialogs showframe >&2 \
    || fail "cannot build showdialogs and showframe in $build"

for entry in "${kinds[@]}"; do
    kind=${entry%%=*}
    name=${entry#*=}
    if [ "$kind" = frame ]; then
        program=$build/docs/screenshots/showframe argument=760x480+40+40
    else
        program=$build/docs/screenshots/showdialogs argument=$kind
    fi
    xvfb-run -a -s "-screen 0 1280x800x24" \
        "$0" --inside-display "$program" "$argument" "$out/$name.png" \
        || fail "no picture of $kind"
    echo "$out/$name.png"
done
