#!/usr/bin/env bash
# Runs a Windows executable under Wine in the build folder's test session and returns its exit
# code. CMake uses it as CMAKE_CROSSCOMPILING_EMULATOR; the session comes from wine-session.sh,
# the two-monitor one when TARVIK_WINE_SESSION is "two-monitors", one at another DPI when it is
# "dpi144" or "dpi192" (the program finds that DPI in TARVIK_SESSION_DPI).
# Usage: wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -euo pipefail

if (($# < 2)); then
    echo "usage: $0 BUILD_DIR PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
build_dir=$(cd "$1" && pwd)
shift

kind=${TARVIK_WINE_SESSION:-}
if [[ -n "$kind" && ! "$kind" =~ ^(two-monitors|dpi144|dpi192)$ ]]; then
    echo "wine-run: unknown session kind TARVIK_WINE_SESSION=$kind" >&2
    exit 2
fi
suffix=${kind:+-$kind}
session_file=$build_dir/wine-session$suffix.env
display=""
if [[ -f "$session_file" ]]; then
    display=$(sed -n 's/^DISPLAY=//p' "$session_file" | head -n 1)
fi
if [[ -z "$display" ]]; then
    echo "wine-run: no Wine session in $build_dir: run the test through ctest (fixture" \
        "wine_session) or start one with: tools/wine-session.sh start $build_dir $kind" >&2
    exit 1
fi

export DISPLAY=$display
export WINEPREFIX=$build_dir/wineprefix$suffix
if [[ "$kind" == two-monitors ]]; then
    # The scenes change the monitor layout with this script while Wine runs.
    TARVIK_DISPLAY_LAYOUT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/display-layout.sh
    export TARVIK_DISPLAY_LAYOUT
fi
if [[ "$kind" =~ ^dpi([0-9]+)$ ]]; then
    export TARVIK_SESSION_DPI=${BASH_REMATCH[1]}
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
