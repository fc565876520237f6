#!/usr/bin/env bash
# A virtual desktop for running and testing the pet without a screen:
# Xvfb on a free display, openbox, picom (compositor) and tint2 (panel with a
# system tray). Each is waited for until it is really up.
#
# usage: desktop-session.sh [--no-wm] [--no-compositor] [--no-tray]
#                           [--size WxHxDEPTH] [-- command [args...]]
#
# Prints "DISPLAY=:N" once everything is up. With a command, runs it with
# DISPLAY set, then stops the desktop and exits with the command's status.
# Without one, keeps the desktop until SIGTERM, SIGINT or SIGHUP, then stops
# every program it started.
set -euo pipefail

here=$(dirname "$(readlink -f "$0")")
with_wm=1 with_compositor=1 with_tray=1 size=1440x900x24
while [[ $# -gt 0 ]]; do
    case $1 in
        --no-wm) with_wm=0 ;;
        --no-compositor) with_compositor=0 ;;
        --no-tray) with_tray=0 ;;
        --size) size=$2; shift ;;
        --) shift; break ;;
        *) echo "desktop-session: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done

workdir=$(mktemp -d "${TMPDIR:-/tmp}/glugmo-desktop.XXXXXX")
pids=()

stop_all() {
    local i pid
    # Newest first: the panel and compositor still need the X server to exit cleanly.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill -TERM "$pid" 2>/dev/null || continue
        for _ in {1..40}; do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    pids=()
    rm -rf "$workdir"
}
trap stop_all EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
trap 'exit 129' HUP

fail() {
    echo "desktop-session: $1 did not come up; its log:" >&2
    tail -n 20 "$workdir/$1.log" >&2 || true
    exit 1
}

# -displayfd lets the server pick a free display itself, so parallel sessions
# never race for a number; it writes the number once it accepts clients.
: >"$workdir/display"
Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset \
    3>"$workdir/display" >"$workdir/Xvfb.log" 2>&1 &
pids+=($!)
for _ in {1..200}; do
    [[ $(cat "$workdir/display") == *[0-9] ]] && break
    kill -0 "${pids[0]}" 2>/dev/null || fail Xvfb
    sleep 0.05
done
export DISPLAY=":$(tr -dc 0-9 <"$workdir/display")"
[[ $DISPLAY != ":" ]] && xdpyinfo >/dev/null 2>&1 || fail Xvfb

start() {  # start NAME CHECK COMMAND...
    local name=$1 check=$2
    shift 2
    "$@" >"$workdir/$name.log" 2>&1 &
    pids+=($!)
    "$here/desktop-ready.py" "$check" 15 2>>"$workdir/$name.log" || fail "$name"
}

[[ $with_wm == 1 ]] && start openbox wm openbox --sm-disable
# picom's default GL backend needs a GPU; xrender works on Xvfb. An empty
# config keeps its defaults (no shadows, no fading), so screenshots are exact.
[[ $with_compositor == 1 ]] && start picom compositor picom --backend xrender --config /dev/null
[[ $with_tray == 1 ]] && start tint2 tray tint2 -c "$here/tint2rc"

echo "DISPLAY=$DISPLAY"
if [[ $# -gt 0 ]]; then
    status=0
    "$@" || status=$?
    exit "$status"
fi
# Sleep in the background so the signal traps run at once.
while kill -0 "${pids[0]}" 2>/dev/null; do
    sleep 1 &
    wait $! || true
done
echo "desktop-session: the X server on $DISPLAY stopped" >&2
exit 1
