#!/usr/bin/env bash
# Builds Tarvik.exe and starts it under Wine. With a DISPLAY it runs on that display until the
# user closes it; without one it runs on a private Xvfb, saves a screenshot and closes it again.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tarvik
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

echo "run.sh: starting Tarvik on the headless display $DISPLAY"
wine "$exe" </dev/null >"$log_dir/tarvik.log" 2>&1 &
tarvik_pid=$!

window=""
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Tarvik$' 2>/dev/null | head -n 1 || true)
    [[ -n "$window" ]] && break
    kill -0 "$tarvik_pid" 2>/dev/null || break
    sleep 0.2
done
if [[ -z "$window" ]]; then
    echo "run.sh: Tarvik showed no window within 60 s (see $log_dir/tarvik.log)" >&2
    exit 1
fi
sleep 1  # let the window finish painting

shot=$shot_dir/run-$(date +%Y%m%d-%H%M%S).png
import -window root "$shot"
echo "run.sh: screenshot $shot"

# taskkill without /F posts WM_CLOSE to Tarvik's windows, as closing it by hand would.
wine taskkill /IM Tarvik.exe >/dev/null 2>&1 || true
for _ in $(seq 150); do
    kill -0 "$tarvik_pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$tarvik_pid" 2>/dev/null; then
    echo "run.sh: Tarvik did not exit after WM_CLOSE" >&2
    exit 1
fi
wait "$tarvik_pid" && status=0 || status=$?
echo "run.sh: Tarvik closed with exit code $status"
exit "$status"
