#!/usr/bin/env bash
# Builds tarvik-play-bench.exe and runs it under Wine on a private 1920x1080 Xvfb display with a
# Wine prefix of its own, then stops both again. With TARVIK_BENCH_DISPLAY set (e.g. :81, a
# two-monitor Xorg display that is already running) it runs there instead and starts no Xvfb; the
# bench prints the virtual screen it grabs and its monitors.
# Usage: [TARVIK_BENCH_DISPLAY=:N] tools/bench-play.sh [BUILD_DIR] [--quick] [--runs N]
#   BUILD_DIR  the Windows build folder (default build/windows, configured by the windows preset)
# or: tools/bench-play.sh [BUILD_DIR] --two-monitors [--quick] [--runs N]
#   on the two-monitor test display (tools/wine-session.sh ... two-monitors) instead, once with
#   both monitors and once with the second one switched off: two ticks on the same X server.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build_dir=$PWD/build/windows
if (($# > 0)) && [[ "$1" != -* ]]; then
    mkdir -p "$1"
    build_dir=$(cd "$1" && pwd)
    shift
fi

if [[ "$build_dir" == "$PWD/build/windows" ]]; then
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target tarvik-play-bench
else
    cmake --preset windows -B "$build_dir" >/dev/null
    cmake --build "$build_dir" --target tarvik-play-bench -j2
fi
exe=$build_dir/tarvik-play-bench.exe

if [[ "${1:-}" == --two-monitors ]]; then
    shift
    trap 'bash tools/wine-session.sh stop "$build_dir" two-monitors >/dev/null 2>&1 || true' EXIT
    trap 'exit 130' INT TERM HUP
    bash tools/wine-session.sh start "$build_dir" two-monitors >&2
    display=$(sed -n 's/^DISPLAY=//p' "$build_dir/wine-session-two-monitors.env")
    status=0
    for layout in two primary; do
        echo "bench-play.sh: monitor layout \"$layout\"" >&2
        DISPLAY=$display bash tools/display-layout.sh "$layout" >&2
        # A Wine process that starts while others run may still see the layout before: start
        # afresh, so the bench sees the one just set.
        WINEPREFIX=$build_dir/wineprefix-two-monitors wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX=$build_dir/wineprefix-two-monitors timeout 30 wineserver -w >/dev/null 2>&1 || true
        TARVIK_WINE_SESSION=two-monitors bash tools/wine-run.sh "$build_dir" "$exe" "$@" \
            </dev/null || status=$?
    done
    exit "$status"
fi

export WINEPREFIX=$build_dir/bench-wineprefix
export WINEDEBUG=-all
# Never offer to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
log_dir=$build_dir/bench-logs
mkdir -p "$WINEPREFIX" "$log_dir"

xvfb_pid=""
cleanup() {
    # Ends every Wine process of this prefix, then its wineserver; other prefixes are untouched.
    wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
# An interrupted run still stops its Xvfb and wineserver.
trap 'exit 130' INT TERM HUP

if [[ -n "${TARVIK_BENCH_DISPLAY:-}" ]]; then
    export DISPLAY=$TARVIK_BENCH_DISPLAY
else
    # Xvfb picks a free display number and writes it to fd 3 once it accepts clients.
    rm -f "$log_dir/xvfb-display"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp \
        3>"$log_dir/xvfb-display" </dev/null >"$log_dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    display_number=""
    for _ in $(seq 100); do
        display_number=$(head -n 1 "$log_dir/xvfb-display" 2>/dev/null || true)
        [[ "$display_number" =~ ^[0-9]+$ ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [[ ! "$display_number" =~ ^[0-9]+$ ]]; then
        echo "bench-play.sh: Xvfb did not start (see $log_dir/xvfb.log)" >&2
        exit 1
    fi
    export DISPLAY=":$display_number"
fi

echo "bench-play.sh: preparing the Wine prefix $WINEPREFIX" >&2
TARVIK_NO_WINDOW_MANAGER=1 bash tools/wine-prefix-init.sh >"$log_dir/wineboot.log" 2>&1 ||
    { echo "bench-play.sh: preparing the Wine prefix failed (see $log_dir/wineboot.log)" >&2; exit 1; }

echo "bench-play.sh: running $exe on $DISPLAY" >&2
status=0
wine "$exe" "$@" </dev/null || status=$?
exit "$status"
