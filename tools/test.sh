#!/usr/bin/env bash
# Installs the dependencies, then configures, builds and runs every test of the native, windows
# (under Wine) and fuzz presets. Exits non-zero if any step fails; ends with a short summary.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if ! bash tools/install-deps.sh; then
    echo "test.sh: installing the dependencies failed" >&2
    exit 1
fi

# ctest stops the Windows tests' Xvfb and wineserver itself; this covers an interrupted run.
stop_wine_session() {
    if [[ -f build/windows/wine-session.env ]]; then
        bash tools/wine-session.sh stop build/windows >/dev/null 2>&1 || true
    fi
}
trap 'stop_wine_session; exit 130' INT TERM

format_seconds() {
    printf '%dm%02ds' $(($1 / 60)) $(($1 % 60))
}

presets=(native windows fuzz)
declare -A outcome tested failed elapsed
total_passed=0
total_failed=0
overall_start=$SECONDS
mkdir -p build/test-logs

for preset in "${presets[@]}"; do
    echo
    echo "==== $preset: configure, build, test"
    start=$SECONDS
    log=build/test-logs/ctest-$preset.log
    tested[$preset]=0
    failed[$preset]=0
    if ! cmake --preset "$preset"; then
        outcome[$preset]="FAILED (configure)"
        failed[$preset]=1
    elif ! cmake --build --preset "$preset"; then
        outcome[$preset]="FAILED (build)"
        failed[$preset]=1
    else
        ctest --preset "$preset" 2>&1 | tee "$log"
        ctest_status=${PIPESTATUS[0]}
        # ctest's closing line: "100% tests passed, 0 tests failed out of 67".
        count_line='s/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p'
        counts=$(sed -nE "$count_line" "$log" | tail -n 1)
        if [[ -n "$counts" ]]; then
            read -r failed[$preset] tested[$preset] <<<"$counts"
        fi
        if ((ctest_status == 0)); then
            outcome[$preset]="passed"
        else
            outcome[$preset]="FAILED (tests)"
            # A ctest that failed without a count (e.g. no tests found) still counts as a failure.
            ((${failed[$preset]} > 0)) || failed[$preset]=1
        fi
    fi
    elapsed[$preset]=$((SECONDS - start))
    total_failed=$((total_failed + ${failed[$preset]}))
    if ((${tested[$preset]} > 0)); then
        total_passed=$((total_passed + ${tested[$preset]} - ${failed[$preset]}))
    fi
done

echo
echo "==== Summary"
for preset in "${presets[@]}"; do
    printf '%-8s %-20s %3d tests, %3d failed  (%s)\n' "$preset" "${outcome[$preset]}" \
        "${tested[$preset]}" "${failed[$preset]}" "$(format_seconds "${elapsed[$preset]}")"
done
echo "total time $(format_seconds $((SECONDS - overall_start)))"
echo "Tests: $total_passed passed, $total_failed failed"
((total_failed == 0))
