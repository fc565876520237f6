#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan and runs every test but the end-to-end ones (ctest -LE e2e).
# When the Qt program builds, it then runs once for GLUGMO_SANITIZE_SECONDS
# (default 20) in a virtual desktop, is tapped, pestered, dragged, hidden and
# brought back from the tray, then quits through its own menu, so that
# LeakSanitizer checks it at exit.
#
# usage: scripts/sanitize.sh [--no-app]
#
# Exits non-zero on any failing test or any sanitizer report. Leaks of
# libraries that never call our code (fontconfig, D-Bus) are suppressed in
# scripts/lsan-suppressions.txt; a leak through our own code always counts.
set -euo pipefail

here=$(dirname "$(readlink -f "$0")")

# Of the program's windows with the pet's title, the largest (its window)
# or the smallest (its tray icon): `titled_window PID largest|smallest`.
titled_window() {
    local w size best= best_size= WIDTH HEIGHT
    for w in $(xdotool search --onlyvisible --pid "$1" --name '咕噜宝' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^(WIDTH|HEIGHT)=')"
        size=$((WIDTH * HEIGHT))
        if [[ -z $best_size ]] || { [[ $2 == largest ]] && ((size > best_size)); } ||
            { [[ $2 == smallest ]] && ((size < best_size)); }; then
            best=$w best_size=$size
        fi
    done
    echo "$best"
}

# Inside the virtual desktop: runs the program in a throwaway home, uses it
# like a person would, and quits it from its menu so it exits normally.
use_the_pet() {
    local exe=$1 logs=$2 seconds=${GLUGMO_SANITIZE_SECONDS:-20} pet window=
    home=$(mktemp -d "${TMPDIR:-/tmp}/glugmo-asan-home.XXXXXX")
    trap 'rm -rf "$home"' EXIT
    export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
           XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset DBUS_SESSION_BUS_ADDRESS

    "$exe" >"$logs/stdout" 2>"$logs/stderr" &
    pet=$!
    local started=$SECONDS
    for _ in {1..200}; do
        window=$(titled_window "$pet" largest)
        [[ -n $window ]] && break
        kill -0 "$pet" 2>/dev/null || { echo "sanitize: the program exited early" >&2; return 1; }
        sleep 0.1
    done
    [[ -n $window ]] || { echo "sanitize: no pet window appeared" >&2; kill -KILL "$pet"; return 1; }
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    local cx=$((X + WIDTH / 2)) cy=$((Y + HEIGHT * 6 / 10))

    xdotool mousemove "$cx" "$cy" click 1 sleep 1.5 click 1 sleep 1.5
    # Quick taps a little apart, so no two make a double click (which hides the pet).
    for i in {1..7}; do
        xdotool mousemove $((cx + i % 2 * 14)) "$cy" click 1 sleep 0.2
    done
    sleep 1
    xdotool mousedown 1 mousemove_relative --sync -- -150 -120 mouseup 1 sleep 1.5
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    cx=$((X + WIDTH / 2)) cy=$((Y + HEIGHT * 6 / 10))
    xdotool mousemove "$cx" "$cy" click 3 sleep 1 key Escape sleep 1
    # A double click hides the pet; the tray menu's "hide" item brings it back.
    xdotool click --repeat 2 --delay 100 1 sleep 1
    local tray
    tray=$(titled_window "$pet" smallest)
    xdotool mousemove --window "$tray" 10 10 click 3 sleep 1 \
        key --delay 80 Down Down Down Down Down Down Down Down Return sleep 1
    [[ -n $(titled_window "$pet" largest) ]] || { echo "sanitize: the pet did not come back" >&2; return 1; }
    while ((SECONDS - started < seconds)); do
        xdotool mousemove "$cx" "$cy" click 1
        sleep 2
    done
    # The menu's last item quits: eight items and the separators above it.
    xdotool mousemove "$cx" "$cy" click 3 sleep 1 key --delay 80 Down Down Down Down Down Down Down Down Down Return
    for _ in {1..300}; do
        kill -0 "$pet" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pet" 2>/dev/null; then
        echo "sanitize: the program did not quit from its menu; no leak check at exit" >&2
        kill -KILL "$pet"
        return 1
    fi
    local status=0
    wait "$pet" || status=$?
    echo "sanitize: the program ran $((SECONDS - started)) s and exited with status $status"
    return "$status"
}

if [[ ${1:-} == --inside-desktop ]]; then
    shift
    use_the_pet "$@"
    exit
fi
cd "$here/.."

app=ON
[[ ${1:-} == --no-app ]] && app=OFF
build=build-asan
# -O1 with line tables only: reports still name every function and line, and
# the build takes about half as long as -O2 -g.
cmake -S . -B "$build" -G Ninja -DGLUGMO_SANITIZE=ON -DGLUGMO_BUILD_APP="$app" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
cmake --build "$build" -j 2

# halt_on_error: the first report fails the test that caused it.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0
# The backend tests draw with Qt's offscreen platform, which needs no display.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

status=0
ctest --test-dir "$build" -LE e2e -j 2 --output-on-failure || status=1

if [[ -x $build/glugmo && -x scripts/desktop-session.sh ]]; then
    logs=$build/sanitized-run
    rm -rf "$logs" && mkdir -p "$logs"
    unset QT_QPA_PLATFORM
    ASAN_OPTIONS=$ASAN_OPTIONS:log_path=$PWD/$logs/asan UBSAN_OPTIONS=$UBSAN_OPTIONS:log_path=$PWD/$logs/ubsan \
        scripts/desktop-session.sh -- "$here/sanitize.sh" --inside-desktop "$build/glugmo" "$logs" || run=$?
    if compgen -G "$logs/asan.*" >/dev/null || compgen -G "$logs/ubsan.*" >/dev/null; then
        echo "sanitize: the program run produced sanitizer reports:" >&2
        cat "$logs"/asan.* "$logs"/ubsan.* 2>/dev/null | head -n 80 >&2
        status=1
    elif [[ ${run:-0} -ne 0 ]]; then
        status=1
    else
        echo "sanitize: the program ran under the sanitizers with no report"
    fi
elif [[ $app == ON ]]; then
    echo "sanitize: no program or no scripts/desktop-session.sh; the end-to-end run is skipped"
fi
exit "$status"
