#!/usr/bin/env bash
# Creates or updates the Wine prefix in $WINEPREFIX and gives it Wine's own UI fonts.
# Debian ships those fonts in /usr/share/wine/fonts (package fonts-wine) but new prefixes do not
# see them there; without Marlett and Tahoma, Wine draws caption buttons as letters.
# Expects WINEPREFIX (and DISPLAY) in the environment; wineboot's output goes to stdout.
set -euo pipefail

: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG=${WINEDEBUG:--all}
# Never offer to download Mono or Gecko.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

mkdir -p "$WINEPREFIX"
wineboot -i </dev/null

fonts_dir=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$fonts_dir"
for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
    [[ -e "$font" ]] || continue
    [[ -e "$fonts_dir/$(basename "$font")" ]] || cp "$font" "$fonts_dir/"
done

# On a display without a window manager (our Xvfb, TARVIK_NO_WINDOW_MANAGER=1) nothing answers
# Wine's requests to one: hiding or destroying a "managed" window (one with a caption or
# WS_EX_APPWINDOW, such as Tarvik's panel) would wait two seconds each time. Unmanaged windows
# look the same there. On a real desktop the window manager stays in charge.
if [[ "${TARVIK_NO_WINDOW_MANAGER:-0}" == 1 ]]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
fi
