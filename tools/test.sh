#!/usr/bin/env bash
# Installs the dependencies, then configures, builds and runs every test of the native, windows
# (under Wine) and fuzz presets. Exits non-zero if any step fails; ends with a short summary.
#
# The Windows tests spend most of their time waiting for Wine, the pointer and the clock, so
# the native preset is built and tested meanwhile, at the lowest priority: it uses the idle
# processor without slowing the scenes that drive Tarvik. The fuzz preset runs last, alone:
# its per-input time limit is wall-clock time, which a busy processor would eat.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if ! bash tools/install-deps.sh; then
    echo "test.sh: installing the dependencies failed" >&2
    exit 1
fi

background_pid=""
# ctest stops the Windows tests' X servers and wineservers itself; this covers an interrupted run.
stop_wine_session() {
    if [[ -f build/windows/wine-session.env ]]; then
        bash tools/wine-session.sh stop build/windows >/dev/null 2>&1 || true
    fi
    local kind
    for kind in two-monitors dpi144 dpi192; do
        if [[ -f build/windows/wine-session-$kind.env ]]; then
            bash tools/wine-session.sh stop build/windows "$kind" >/dev/null 2>&1 || true
        fi
    done
}
trap '[[ -n "$background_pid" ]] && kill -- -"$background_pid" 2>/dev/null; stop_wine_session; exit 130' INT TERM

format_seconds() {
    printf '%dm%02ds' $(($1 / 60)) $(($1 % 60))
}

log_dir=build/test-logs
mkdir -p "$log_dir"

# Configures, builds and tests one preset; its ctest output goes to the terminal and to
# $log_dir/ctest-PRESET.log, and its result to $log_dir/result-PRESET as
# "OUTCOME<tab>TESTED<tab>FAILED<tab>SECONDS". Stage "build" stops after the build, "test"
# runs only the tests, "all" does both.
run_preset() {
    local preset=$1 stage=$2 start=$SECONDS
    local log=$log_dir/ctest-$preset.log result=$log_dir/result-$preset
    local outcome="" tested=0 failed=0
    if [[ "$stage" != test ]]; then
        echo
        echo "==== $preset: configure, build"
        if ! cmake --preset "$preset"; then
            outcome="FAILED (configure)"
        elif ! cmake --build --preset "$preset"; then
            outcome="FAILED (build)"
        fi
        if [[ -n "$outcome" ]]; then
            printf '%s\t0\t1\t%d\n' "$outcome" $((SECONDS - start)) >"$result"
            return
        fi
        printf 'built\t0\t0\t%d\n' $((SECONDS - start)) >"$result"
        [[ "$stage" == build ]] && return
    fi
    echo
    echo "==== $preset: test"
    ctest --preset "$preset" 2>&1 | tee "$log"
    local ctest_status=${PIPESTATUS[0]}
    # ctest's closing line: "100% tests passed, 0 tests failed out of 67".
    local count_line='s/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p'
    local counts
    counts=$(sed -nE "$count_line" "$log" | tail -n 1)
    if [[ -n "$counts" ]]; then
        read -r failed tested <<<"$counts"
    fi
    if ((ctest_status == 0)); then
        outcome="passed"
    else
        outcome="FAILED (tests)"
        # A ctest that failed without a count (e.g. no tests found) still counts as a failure.
        ((failed > 0)) || failed=1
    fi
    # A preset run in two stages adds the build's seconds.
    local built=0
    if [[ "$stage" == test && -f "$result" ]]; then
        built=$(cut -f4 "$result")
    fi
    printf '%s\t%d\t%d\t%d\n' "$outcome" "$tested" "$failed" $((built + SECONDS - start)) >"$result"
}

overall_start=$SECONDS
rm -f "$log_dir"/result-*

run_preset windows build
native_log=$log_dir/native.log
# setsid: its own process group, so an interruption can end the whole of it.
setsid nice -n 19 bash -c "set -uo pipefail; $(declare -f run_preset); log_dir=$log_dir
    run_preset native all" >"$native_log" 2>&1 &
background_pid=$!
if [[ "$(cut -f1 "$log_dir/result-windows")" == built ]]; then
    run_preset windows test
fi
wait "$background_pid"
background_pid=""
echo
echo "==== native (built and tested beside the Windows tests)"
cat "$native_log"
run_preset fuzz all

presets=(native windows fuzz)
total_passed=0
total_failed=0
echo
echo "==== Summary"
for preset in "${presets[@]}"; do
    outcome="FAILED (not run)" tested=0 failed=1 seconds=0
    if [[ -f "$log_dir/result-$preset" ]]; then
        IFS=$'\t' read -r outcome tested failed seconds <"$log_dir/result-$preset"
    fi
    printf '%-8s %-20s %3d tests, %3d failed  (%s)\n' "$preset" "$outcome" "$tested" "$failed" \
        "$(format_seconds "$seconds")"
    total_failed=$((total_failed + failed))
    if ((tested > 0)); then
        total_passed=$((total_passed + tested - failed))
    fi
done
echo "total time $(format_seconds $((SECONDS - overall_start)))"
echo "Tests: $total_passed passed, $total_failed failed"
((total_failed == 0))
