#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/, with clang, in build-fuzz) and runs
# each in turn for a set time, one process at a time.
#
# usage: scripts/fuzz.sh [--smoke | --seconds N] [TARGET...] [-- LIBFUZZER_OPTION...]
#
# TARGET is quotes, settings, gif_frames or gif_decoder (default: all four). Each runs
# 600 s, or 30 s with --smoke (for CI). The corpus each one grows is kept in
# build-fuzz/corpus/TARGET and reused by the next run; the seeds are the
# saved inputs in fuzz/regressions/TARGET (and the shipped GIFs for the GIF
# readers).
#
# Prints executions and coverage per target. Any input that crashed, leaked,
# timed out or ran out of memory is copied into fuzz/regressions/TARGET (the
# unit tests replay that folder) and the script exits with status 1.
set -euo pipefail

cd "$(dirname "$(readlink -f "$0")")/.."
seconds=600
targets=()
extra=()
while [[ $# -gt 0 ]]; do
    case $1 in
        --smoke) seconds=30 ;;
        --seconds) seconds=$2; shift ;;
        quotes | settings | gif_frames | gif_decoder) targets+=("$1") ;;
        --) shift; extra=("$@"); break ;;
        *) echo "fuzz: unknown argument $1" >&2; exit 2 ;;
    esac
    shift
done
[[ ${#targets[@]} -gt 0 ]] || targets=(quotes settings gif_frames gif_decoder)

compiler=$(command -v clang++-14 || command -v clang++ || true)
[[ -n $compiler ]] || { echo "fuzz: clang++ is needed (apt-get install clang libclang-rt-dev)" >&2; exit 2; }

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DGLUGMO_FUZZ=ON \
    -DGLUGMO_BUILD_APP=OFF -DGLUGMO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]/#/fuzz_}"
# The saved inputs of each target start its corpus; the GIF readers also
# start from the shipped GIFs.
rm -rf "$build/seeds"
mkdir -p "$build/seeds"/{quotes,settings,gif_frames,gif_decoder}
cp resources/*.gif "$build/seeds/gif_frames/"
cp resources/*.gif "$build/seeds/gif_decoder/"

# The newest "cov: N" line libFuzzer printed, and the final execution count.
last_field() { grep -o "$1 *[0-9]*" "$2" | tail -n 1 | grep -o '[0-9]*$' || echo "?"; }

# Copies a failing input unless the same bytes are already saved.
keep_failure() {
    local input=$1 folder=$2 saved
    for saved in "$folder"/*; do
        [[ -f $saved ]] && cmp -s "$input" "$saved" && return
    done
    cp "$input" "$folder/"
    echo "fuzz: saved $(basename "$input") in $folder"
}

failed=0
summary=()
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target artifacts=$build/artifacts/$target log=$build/fuzz-$target.log
    regressions=fuzz/regressions/$target
    mkdir -p "$corpus" "$regressions"
    rm -rf "$artifacts" && mkdir -p "$artifacts"
    echo "fuzz: $target for ${seconds}s (log: $log)"
    status=0
    # The shipped GIFs take a second each to decode under the sanitizers;
    # the start of their first frame is enough to start from.
    length=()
    [[ $target == gif_decoder ]] && length=(-max_len=4096)
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -rss_limit_mb=2560 -artifact_prefix="$artifacts/" "${length[@]}" "${extra[@]}" \
        "$corpus" "$build/seeds/$target" "$regressions" >"$log" 2>&1 || status=$?

    found=0
    for input in "$artifacts"/{crash,leak,timeout,oom}-*; do
        [[ -f $input ]] || continue
        keep_failure "$input" "$regressions"
        found=$((found + 1))
    done
    result=ok
    if [[ $status -ne 0 || $found -gt 0 ]]; then
        result="FAILED (status $status, $found failing input(s))"
        failed=1
        grep -m 5 -E "ERROR|broken rule|SUMMARY" "$log" >&2 || true
    fi
    summary+=("$(printf '%-11s executions %-11s cov %-6s ft %-7s corpus %-6s %s' "$target" \
        "$(last_field 'stat::number_of_executed_units:' "$log")" "$(last_field 'cov:' "$log")" \
        "$(last_field 'ft:' "$log")" "$(find "$corpus" -type f | wc -l)" "$result")")
done

echo
printf '%s\n' "${summary[@]}"
exit "$failed"
