#!/usr/bin/env bash
# Measures the pet against oneko on a virtual desktop: start-up, idle,
# hidden and busy, each beside the X server's and the compositor's share.
# Installs what is missing, builds a Release pet in build-bench, prints the
# table and writes it to bench/results/latest.md.
#
# usage: bench/run.sh [--quick]
#
# --quick        10 s windows and 3 start-ups, written to bench/results/quick.md:
#                for trying the benchmark out, not for quoting.
# BENCH_SECONDS  length of each measuring window (default 60)
# BENCH_LAUNCHES start-ups timed for the median (default 10)
# BENCH_SETTLE   seconds a program runs before its window starts (default 2)
#
# Figures are only worth quoting on an otherwise quiet machine.
set -euo pipefail

cd "$(dirname "$(readlink -f "$0")")/.."
output=bench/results/latest.md
if [[ ${1:-} == --quick ]]; then
    export BENCH_SECONDS=${BENCH_SECONDS:-10} BENCH_LAUNCHES=${BENCH_LAUNCHES:-3}
    output=bench/results/quick.md
elif [[ $# -gt 0 ]]; then
    echo "usage: bench/run.sh [--quick]" >&2
    exit 2
fi

scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build-bench -j2 glugmo

load=$(cut -d' ' -f1 /proc/loadavg)
if awk -v load="$load" 'BEGIN { exit !(load > 0.5) }'; then
    echo "bench: the 1-minute load is $load; figures will be noisy" >&2
fi
# A session bus of its own, as a desktop has, which goes away with the run.
dbus-run-session -- scripts/desktop-session.sh -- \
    /usr/bin/python3 bench/measure.py build-bench/glugmo "$output"
