#!/usr/bin/env bash
# Runs the end-to-end tests N times (default 10) in both builds, two at a time
# as the test command does, while a busy loop loads the machine,
# and prints per test how many runs failed: scripts/flaky.sh [N [BUILD...]]
# (BUILD: build folders, by default build and build-sanitize). Run
# scripts/test.sh first: this script builds nothing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

runs=${1:-10}
shift $(($# > 0 ? 1 : 0))
[ $# -gt 0 ] || set -- "$ROOT/build" "$ROOT/build-sanitize"
builds=()
for build in "$@"; do
    [ -f "$build/CTestTestfile.cmake" ] && builds+=("$(realpath "$build")")
done
[ ${#builds[@]} -gt 0 ] || {
    echo "No build to test: run scripts/test.sh first." >&2
    exit 2
}

export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

bash -c 'while :; do :; done' &
load=$!
trap 'kill $load 2>/dev/null' EXIT

logs=$(mktemp -d)
declare -A failed
for build in "${builds[@]}"; do
    name=$(basename "$build")
    for tests in $(ctest --test-dir "$build" -L e2e -N | sed -n 's/^ *Test *#[0-9]*: //p'); do
        failed[$name/$tests]=0
    done
    for run in $(seq "$runs"); do
        log=$logs/$name-$run.log
        if ctest --test-dir "$build" -L e2e -j 2 --output-on-failure >"$log" 2>&1; then
            echo "$name, run $run of $runs: passed"
        else
            echo "$name, run $run of $runs: failed (log: $log)"
        fi
        # ctest lists the failed tests of its last run, one "number:name" a line.
        while IFS=: read -r _ test; do
            failed[$name/$test]=$((failed[$name/$test] + 1))
        done < <(cat "$build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null || true)
        rm -f "$build/Testing/Temporary/LastTestsFailed.log"
    done
done

echo
printf '%-40s %s\n' "test" "failed runs of $runs"
status=0
for key in $(printf '%s\n' "${!failed[@]}" | sort); do
    printf '%-40s %d\n' "$key" "${failed[$key]}"
    [ "${failed[$key]}" -eq 0 ] || status=1
done
exit $status
