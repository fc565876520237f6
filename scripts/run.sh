#!/usr/bin/env bash
# Installs what is missing, builds the pet and launches build/glugmo.
#
# usage: scripts/run.sh [--own-home]
#
# With a reachable display the pet simply runs there. Without one (a server,
# CI, a container) it runs inside a virtual desktop for GLUGMO_DEMO_SECONDS
# (default 4), build/screenshot.png is saved, and everything is stopped again.
# The virtual run uses a throwaway home folder unless --own-home is given, so
# it leaves no settings or quotes file behind.
set -euo pipefail

cd "$(dirname "$(readlink -f "$0")")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build --target glugmo

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
    exec build/glugmo
fi

echo "run: no display reachable; running the pet in a virtual desktop"
scripts/desktop-session.sh -- scripts/screenshot-demo.sh build/glugmo build/screenshot.png "$@"
