#!/usr/bin/env bash
# Starts or stops a headless Wine session for the Windows tests: a private X display and a
# persistent wineserver for the build folder's own prefix. ctest runs "start" and "stop" as the
# setup and cleanup of the wine_session fixture; tools/wine-run.sh reads the session file.
# Two kinds of session:
#   (default)     Xvfb with one 1280 x 1024 screen, for almost every test;
#   two-monitors  Xorg with the dummy driver and two RandR outputs (tools/display-layout.sh), for
#                 the multi-monitor scenes. Xvfb cannot give Wine a second monitor. It has its own
#                 session file, prefix and wineserver, so both kinds can run side by side.
#   dpi144, dpi192
#                 Xvfb like the default, in a prefix whose display runs at 144 or 192 DPI (150 % and
#                 200 %), for the scenes that check Tarvik's drawing at the display's scale. Wine
#                 takes the DPI from HKCU\Control Panel\Desktop as its processes start, so it is
#                 set before the services restart, and every process afterwards sees it.
# Usage: wine-session.sh start|stop BUILD_DIR [two-monitors|dpi144|dpi192]
set -euo pipefail

if (($# < 2 || $# > 3)) || [[ "$1" != start && "$1" != stop ]] ||
    [[ $# == 3 && ! "$3" =~ ^(two-monitors|dpi144|dpi192)$ ]]; then
    echo "usage: $0 start|stop BUILD_DIR [two-monitors|dpi144|dpi192]" >&2
    exit 2
fi
action=$1
mkdir -p "$2"
build_dir=$(cd "$2" && pwd)
kind=${3:-}
tools_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

suffix=${kind:+-$kind}
session_file=$build_dir/wine-session$suffix.env
log_dir=$build_dir/wine-logs$suffix
export WINEPREFIX=$build_dir/wineprefix$suffix
export WINEDEBUG=-all
# Never offer to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Prints field 22 of /proc/PID/stat (start time), which tells a reused pid from the original.
process_start_time() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }  # drop "pid (comm) ", as comm may contain spaces
    read -ra fields <<<"$stat"
    echo "${fields[19]}"
}

session_value() {
    if [[ -f "$session_file" ]]; then
        sed -n "s/^$1=//p" "$session_file" | head -n 1
    fi
}

# Waits up to $2 tenths of a second for process $1 to exit.
wait_for_exit() {
    local pid=$1 tenths=$2
    while ((tenths-- > 0)); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    ! kill -0 "$pid" 2>/dev/null
}

stop_session() {
    # wineserver -k ends every Wine process of this prefix, then the server itself.
    if [[ -d "$WINEPREFIX" ]]; then
        wineserver -k >/dev/null 2>&1 || true
        timeout 30 wineserver -w >/dev/null 2>&1 || true
    fi

    local pid start
    pid=$(session_value X_SERVER_PID)
    start=$(session_value X_SERVER_START)
    # Only stop the X server this session started, even if the file is stale and the pid was
    # reused.
    if [[ -n "$pid" && -n "$start" && "$(process_start_time "$pid" || true)" == "$start" ]]; then
        kill "$pid" 2>/dev/null || true
        if ! wait_for_exit "$pid" 50; then
            kill -KILL "$pid" 2>/dev/null || true
            wait_for_exit "$pid" 50 || true
        fi
        echo "wine-session: stopped $(session_value X_SERVER) $(session_value DISPLAY) (pid $pid)"
    fi
    rm -f "$session_file"
}

fail() {
    echo "wine-session: $*" >&2
    for log in "$log_dir"/*.log; do
        [[ -s "$log" ]] || continue
        echo "---- $log (last lines)" >&2
        tail -n 20 "$log" >&2
    done
    stop_session
    exit 1
}

start_session() {
    # A run that was killed may have left its Xvfb and wineserver behind: end them first.
    stop_session
    mkdir -p "$log_dir" "$WINEPREFIX"

    # The server picks a free display number itself (so it never takes another session's) and
    # writes it to fd 3 once it accepts clients.
    local server display_file=$log_dir/x-display
    rm -f "$display_file"
    if [[ "$kind" == two-monitors ]]; then
        server=Xorg
        # Xorg writes its own log; its output only holds what comes before the log is open.
        Xorg -displayfd 3 -config "$tools_dir/xorg-dummy.conf" -noreset -nolisten tcp \
            -logfile "$log_dir/xorg.log" -novtswitch -sharevts \
            3>"$display_file" </dev/null >"$log_dir/xorg-output.log" 2>&1 &
    else
        server=Xvfb
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
            3>"$display_file" </dev/null >"$log_dir/xvfb.log" 2>&1 &
    fi
    local server_pid=$!
    # Written at once, so that stop ends the server even if the start fails half-way.
    {
        echo "X_SERVER=$server"
        echo "X_SERVER_PID=$server_pid"
        echo "X_SERVER_START=$(process_start_time "$server_pid")"
        echo "WINEPREFIX=$WINEPREFIX"
    } >"$session_file"
    local tenths=200 display_number=""
    while ((tenths-- > 0)); do
        display_number=$(head -n 1 "$display_file" 2>/dev/null || true)
        [[ "$display_number" =~ ^[0-9]+$ ]] && break
        kill -0 "$server_pid" 2>/dev/null || fail "$server exited during start-up"
        sleep 0.1
    done
    [[ "$display_number" =~ ^[0-9]+$ ]] || fail "$server did not report a display within 20 s"
    export DISPLAY=":$display_number"
    echo "DISPLAY=$DISPLAY" >>"$session_file"

    if [[ "$kind" == two-monitors ]]; then
        # The layout must be in place before the first Wine process reads it.
        bash "$tools_dir/display-layout.sh" two >"$log_dir/layout.log" 2>&1 ||
            fail "setting the two-monitor layout failed: $(cat "$log_dir/layout.log")"
        grep -q '^Monitors: 2$' "$log_dir/layout.log" ||
            fail "the display does not report two monitors: $(cat "$log_dir/layout.log")"
    fi

    # A persistent server keeps the prefix loaded, so each test executable starts in well under
    # a second. It detaches itself; its output goes to the log, never to ctest's pipes.
    wineserver -p </dev/null >>"$log_dir/wineserver.log" 2>&1 || fail "wineserver did not start"
    # Creates the prefix on the first run (slow), and only starts its services afterwards.
    TARVIK_NO_WINDOW_MANAGER=1 timeout 240 bash "$tools_dir/wine-prefix-init.sh" \
        </dev/null >"$log_dir/wineboot.log" 2>&1 ||
        fail "preparing the Wine prefix $WINEPREFIX failed"
    local dpi=96
    [[ "$kind" =~ ^dpi([0-9]+)$ ]] && dpi=${BASH_REMATCH[1]}
    # Written on every start (96 too), so a prefix always runs at the DPI its kind names.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        </dev/null >>"$log_dir/wineboot.log" 2>&1 || fail "setting LogPixels to $dpi failed"
    # The processes that wineboot started read the display settings before the prefix had them
    # (on a new prefix: managed windows, which wait two seconds at every hide for a window
    # manager that is not there). Start afresh, so every process sees the finished prefix, and
    # start the services here: started by a test's process instead, they would inherit its
    # output pipe and keep ctest waiting for it until the test's time-out.
    wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
    wineserver -p </dev/null >>"$log_dir/wineserver.log" 2>&1 || fail "wineserver did not restart"
    timeout 120 wineboot </dev/null >>"$log_dir/wineboot.log" 2>&1 ||
        fail "starting the Wine services for $WINEPREFIX failed"
    echo "wine-session: $server on $DISPLAY (pid $server_pid), wineserver for $WINEPREFIX," \
        "$dpi DPI"
}

case "$action" in
    start) start_session ;;
    stop) stop_session ;;
esac
