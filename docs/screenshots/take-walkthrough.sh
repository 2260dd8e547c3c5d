#!/usr/bin/env bash
# Walks through the README's "Trying it" on a virtual X display and saves its pictures: the start
# page with a few recent files, the code dialog over it, the stand-in runtime showing the
# controller, and the question that loading a recent file that no longer exists asks.
#   docs/screenshots/take-walkthrough.sh [build dir] [out dir]
# The build dir (default: build/, as scripts/run makes it) must be configured; the launcher, the
# runtime and the sample files are built first. Needs xvfb, xdotool and imagemagick
# (scripts/install-deps installs them). The launcher runs with a HOME of its own, so the user's
# recent files and settings are left alone.
set -euo pipefail

if [ "${1:-}" = --inside-display ]; then
    build=$2 out=$3 home=$4
    samples=$build/samples
    export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime
    export TMPDIR=$home/tmp QT_QPA_PLATFORM=xcb QVKIOSKCORE_RECORD=$home/record.jsonl
    mkdir -p "$XDG_CONFIG_HOME/Brennix/QVKiosk/V2.0" "$TMPDIR"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"

    # The recent files, newest first.
    recent() {
        local entries='' day=9 path
        for path in "$@"; do
            entries+="${entries:+,}\\\"$path\\\",\\\"false\\\",\\\"2026-01-0${day}T10:00:00\\\""
            day=$((day - 1))
        done
        printf '[General]\nRecentlyUsedFiles="%s"\n' "$entries" \
            >"$XDG_CONFIG_HOME/Brennix/QVKiosk/V2.0/qvkiosk.ini"
    }
    # The first window of the launcher whose title matches $1.
    window() {
        for _ in $(seq 200); do
            for id in $(xdotool search --onlyvisible --classname '^qvkiosk$' 2>/dev/null); do
                if [[ "$(xdotool getwindowname "$id")" =~ $1 ]]; then
                    echo "$id"
                    return
                fi
            done
            sleep 0.1
        done
        echo "no window named $1" >&2
        exit 1
    }
    # The window's frame as an import crop.
    crop() {
        eval "$(xdotool getwindowgeometry --shell "$1")"
        echo "${WIDTH}x${HEIGHT}+${X}+${Y}"
    }
    # Starts the launcher and waits until its start page is ready (sets launcher and main).
    start() {
        "$build/qvkiosk/qvkiosk" nonSplash >/dev/null &
        launcher=$!
        main=$(window '^Quorvane Kiosk$')
        while xdotool search --onlyvisible --name '^Initializing' >/dev/null 2>&1; do sleep 0.1; done
        sleep 0.5
    }
    # Selects the first recent file (it has the focus but is not selected) and presses Load.
    loadFirst() {
        xdotool key Right Left
        sleep 0.2
        xdotool key shift+Tab shift+Tab shift+Tab space
    }

    recent "$samples/lobby.qvksk" "$samples/open.qvksk" "$samples/adminonly.qvksk"
    start
    import -window root -crop "$(crop "$main")" +repage "$out/startpage.png"

    loadFirst
    window '^Enter code' >/dev/null
    sleep 0.3
    xdotool type --delay 50 0000
    sleep 0.3
    import -window root -crop "$(crop "$main")" +repage "$out/codedialog.png"

    xdotool key Tab Return
    wait "$launcher"
    for _ in $(seq 50); do
        [ -s "$QVKIOSKCORE_RECORD" ] && break
        sleep 0.1
    done
    sleep 1
    import -window root "$out/runtime.png"
    runtime=$(sed -n 's/.*"pid":\([0-9]*\).*/\1/p' "$QVKIOSKCORE_RECORD")
    [ -n "$runtime" ] && kill "$runtime"

    # A file that has been moved away since it was last opened.
    gone=/srv/kiosk/Reception.qvksk
    if [ -e "$gone" ]; then
        echo "$gone exists here: the picture of a recent file that no longer exists needs it not to" >&2
        exit 1
    fi
    recent "$gone" "$samples/lobby.qvksk" "$samples/open.qvksk"
    start
    loadFirst
    window '^File not found!$' >/dev/null
    sleep 0.3
    import -window root -crop "$(crop "$main")" +repage "$out/filenotfound.png"
    # No (it has the focus) keeps the entry; then File, Exit. Without a window manager nobody
    # gives the window the keyboard back when the dialog closes.
    xdotool key Return
    sleep 0.3
    xdotool windowfocus --sync "$main"
    xdotool key alt+f
    sleep 0.3
    xdotool key x
    wait "$launcher"
    # Its standby runtime ends by itself once it sees the launcher gone; before the display does.
    for _ in $(seq 100); do
        pgrep -f "qvkioskcore quorvaneKiosk_[0-9]+_$launcher " >/dev/null || break
        sleep 0.1
    done
    exit 0
fi

. "$(dirname "$0")/buildfolder.sh"
out=$(cd "${2:-$(dirname "$0")}" && pwd)
for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is missing: scripts/install-deps installs it"
done
cmake --build "$build" --target qvkiosk qvkioskcore qvksk_samples >&2 \
    || fail "cannot build the launcher, the runtime and the sample files in $build"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside-display "$build" "$out" "$home" \
    || fail "the walk through stopped before its last picture (see above)"
echo "$out/startpage.png $out/codedialog.png $out/runtime.png $out/filenotfound.png"
