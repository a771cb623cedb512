#!/usr/bin/env bash
# Builds Tarvik.exe and starts it under Wine. With a DISPLAY it runs on that display until the
# user closes it. Without one it shows Tarvik at work on a private Xvfb: a test program shows a
# picture, Tarvik gets a list with that picture, Play is pressed with the pointer, and the demo
# prints where Tarvik clicked and what the test program received, with a screenshot of the glide.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash tools/install-deps.sh
cmake --preset windows >/dev/null
if [[ -n "${DISPLAY:-}" ]]; then
    cmake --build --preset windows --target Tarvik
else
    cmake --build --preset windows --target Tarvik TargetBoard tarvik-play-demo
fi
exe=$PWD/build/windows/Tarvik.exe

export WINEDEBUG=-all
# Never offer to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [[ -n "${DISPLAY:-}" ]]; then
    export WINEPREFIX=${TARVIK_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/tarvik/wineprefix}
    mkdir -p "$(dirname "$WINEPREFIX")"
    echo "run.sh: preparing the Wine prefix $WINEPREFIX (slow the first time)"
    bash tools/wine-prefix-init.sh >/dev/null 2>&1 ||
        { echo "run.sh: preparing the Wine prefix $WINEPREFIX failed" >&2; exit 1; }
    echo "run.sh: starting Tarvik on $DISPLAY; close its window to return"
    wine "$exe"
    exit $?
fi

# Headless: everything below runs on a display and a Wine prefix of its own.
export WINEPREFIX=$PWD/build/windows/run-wineprefix
shot_dir=$PWD/build/windows/screenshots
log_dir=$PWD/build/windows/run-logs
mkdir -p "$WINEPREFIX" "$shot_dir" "$log_dir"

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$log_dir/xvfb-display" </dev/null >"$log_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    display_number=$(head -n 1 "$log_dir/xvfb-display" 2>/dev/null || true)
    [[ "$display_number" =~ ^[0-9]+$ ]] && break
    sleep 0.1
done
if [[ ! "$display_number" =~ ^[0-9]+$ ]]; then
    echo "run.sh: Xvfb did not start (see $log_dir/xvfb.log)" >&2
    exit 1
fi
export DISPLAY=":$display_number"

echo "run.sh: preparing the Wine prefix $WINEPREFIX"
TARVIK_NO_WINDOW_MANAGER=1 bash tools/wine-prefix-init.sh >"$log_dir/wineboot.log" 2>&1 ||
    { echo "run.sh: preparing the Wine prefix failed (see $log_dir/wineboot.log)" >&2; exit 1; }
# Without a window manager on Xvfb, Wine has to draw the title bars itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

shot=$shot_dir/play-demo-$(date +%Y%m%d-%H%M%S).png
echo "run.sh: the play demonstration on the headless display $DISPLAY"
status=0
wine "$PWD/build/windows/tarvik-play-demo.exe" "$(winepath -w "$shot" 2>/dev/null)" \
    </dev/null 2>"$log_dir/play-demo.log" | tr -d '\r' || status=$?
if ((status != 0)); then
    echo "run.sh: the play demonstration failed (see $log_dir/play-demo.log)" >&2
    cat "$log_dir/play-demo.log" >&2
    exit "$status"
fi
echo "run.sh: screenshot $shot"
