#!/usr/bin/env bash
# Shows the desktop program as a screen reader meets it: starts it on a
# virtual display with openbox and the accessibility bus (AT-SPI), presses
# the given keys, then prints every focus change the bus announced and the
# tree of names, roles and descriptions of every window. A fresh home folder
# of its own is used, so nothing of the user's is read or written.
# Usage: scripts/reader-view.sh [XDOTOOL_KEY...]
#   e.g. scripts/reader-view.sh Escape Tab Tab alt+p Return
# KALVARA_BIN names another build of the program (default build/src/app/kalvara).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh xvfb openbox xdotool at-spi2-core python3-pyatspi dbus
program=$(realpath "${KALVARA_BIN:-build/src/app/kalvara}")
[[ -x $program ]] || { echo "reader-view.sh: no program at $program; run scripts/build.sh" >&2; exit 2; }

home=$(mktemp -d)
trap 'kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -p "$home"/{cache,config,data}
Xvfb -displayfd 3 -screen 0 1280x800x24 3>"$home/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s $home/display ]] && break; sleep 0.1; done

export DISPLAY=":$(cat "$home/display")" HOME=$home XDG_CACHE_HOME=$home/cache \
    XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_DATA_DIRS="$PWD/build/tests/support/data:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    sleep 1
    openbox >/dev/null 2>&1 &
    sleep 0.5
    "$0" >"$HOME/program.log" 2>&1 &
    /usr/bin/python3 scripts/reader_view.py "$@"
    status=$?
    kill %3 2>/dev/null
    exit $status
' "$program" "$@" 2> >(grep -v "Failed to set fd limit" >&2)
