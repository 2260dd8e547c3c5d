#!/usr/bin/env bash
# Walks through the README's "Trying it" on a virtual X display and saves its three pictures:
# the start page with a few recent files, the code dialog over it, and the stand-in runtime
# showing the controller.
#   docs/screenshots/take-walkthrough.sh <build dir> [out dir]
# Needs xvfb, xdotool and imagemagick (scripts/install-deps installs them). The launcher runs
# with a HOME of its own, so the user's recent files and settings are left alone.
set -euo pipefail

if [ "${1:-}" = --inside-display ]; then
    build=$2 out=$3 home=$4
    samples=$build/samples
    export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime
    export TMPDIR=$home/tmp QT_QPA_PLATFORM=xcb QVKIOSKCORE_RECORD=$home/record.jsonl
    mkdir -p "$XDG_CONFIG_HOME/Brennix/QVKiosk/V2.0" "$TMPDIR"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    entries=
    day=9
    for name in lobby.qvksk open.qvksk adminonly.qvksk; do
        entries+="${entries:+,}\\\"$samples/$name\\\",\\\"false\\\",\\\"2026-01-0${day}T10:00:00\\\""
        day=$((day - 1))
    done
    printf '[General]\nRecentlyUsedFiles="%s"\n' "$entries" \
        >"$XDG_CONFIG_HOME/Brennix/QVKiosk/V2.0/qvkiosk.ini"

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

    "$build/qvkiosk/qvkiosk" nonSplash >/dev/null &
    launcher=$!
    main=$(window '^Quorvane Kiosk$')
    while xdotool search --onlyvisible --name '^Initializing' >/dev/null 2>&1; do sleep 0.1; done
    sleep 0.5
    import -window root -crop "$(crop "$main")" +repage "$out/startpage.png"

    # Select lobby.qvksk (the first entry has the focus but is not selected) and press Load.
    xdotool key Right Left
    sleep 0.2
    xdotool key shift+Tab shift+Tab shift+Tab space
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
    exit 0
fi

build=$(cd "$1" && pwd)
out=$(cd "${2:-$(dirname "$0")}" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside-display "$build" "$out" "$home"
echo "$out/startpage.png $out/codedialog.png $out/runtime.png"
