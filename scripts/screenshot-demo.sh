#!/usr/bin/env bash
# Runs the pet on $DISPLAY for GLUGMO_DEMO_SECONDS (default 4), saves a
# screenshot of the whole screen, then stops the pet. run.sh calls it inside
# the virtual desktop.
#
# usage: screenshot-demo.sh EXECUTABLE PNG [--own-home]
set -euo pipefail

exe=$(readlink -f "$1") png=$2 own_home=${3:-}

if [[ $own_home != --own-home ]]; then
    home=$(mktemp -d "${TMPDIR:-/tmp}/glugmo-home.XXXXXX")
    trap 'rm -rf "$home"' EXIT
    export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
           XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
# The tray icon belongs in this desktop's panel, not on an outside session bus.
unset DBUS_SESSION_BUS_ADDRESS

"$exe" &
pet=$!
sleep "${GLUGMO_DEMO_SECONDS:-4}"
if ! kill -0 "$pet" 2>/dev/null; then
    status=0
    wait "$pet" || status=$?
    echo "screenshot-demo: glugmo exited early with status $status" >&2
    exit 1
fi
import -window root "$png"
kill -TERM "$pet"
wait "$pet" || true
echo "Screenshot of the pet on a virtual desktop: $(readlink -f "$png")"
