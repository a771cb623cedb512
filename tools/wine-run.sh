#!/usr/bin/env bash
# Runs a Windows executable under Wine in the build folder's test session and returns its exit
# code. CMake uses it as CMAKE_CROSSCOMPILING_EMULATOR; the session comes from wine-session.sh.
# Usage: wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -euo pipefail

if (($# < 2)); then
    echo "usage: $0 BUILD_DIR PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
build_dir=$(cd "$1" && pwd)
shift

session_file=$build_dir/wine-session.env
display=""
if [[ -f "$session_file" ]]; then
    display=$(sed -n 's/^DISPLAY=//p' "$session_file" | head -n 1)
fi
if [[ -z "$display" ]]; then
    echo "wine-run: no Wine session in $build_dir: run the test through ctest (fixture" \
        "wine_session) or start one with: tools/wine-session.sh start $build_dir" >&2
    exit 1
fi

export DISPLAY=$display
export WINEPREFIX=$build_dir/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
