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
