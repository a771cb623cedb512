#!/usr/bin/env bash
# Sets the monitor layout of the two-monitor test display ($DISPLAY, an Xorg with the dummy
# driver) with RandR and prints the layout the server then reports.
#   two: the primary 1280 x 1024, and a second 1024 x 768 left of and above it, so that Windows
#        programs see the second at (-1024, -300)-(0, 468): negative x and y.
#   primary: the second output switched off, as when a monitor is unplugged.
# The end-to-end scenes run it while Wine runs (its path is in TARVIK_DISPLAY_LAYOUT); Wine picks
# the new layout up by itself in the processes that ask for it, but a Wine process that starts
# afterwards may still be told the old one until the wineserver restarts.
# Usage: display-layout.sh two|primary
set -euo pipefail

: "${DISPLAY:?DISPLAY must name the two-monitor display}"
case "${1:-}" in
    two)
        # An output that is not connected has no modes until one is added; adding it again fails
        # harmlessly.
        xrandr --addmode DUMMY1 1024x768 2>/dev/null || true
        xrandr --output DUMMY0 --mode 1280x1024 --pos 1024x300 --primary \
            --output DUMMY1 --mode 1024x768 --pos 0x0
        ;;
    primary)
        # The X screen shrinks to the primary, which moves to its origin. Wine 8 leaves the
        # windows that exist where they were on the X screen and sends no WM_DISPLAYCHANGE: the
        # scenes stand in for both (tests/e2e/MultiMonitorTest.cpp).
        xrandr --output DUMMY1 --off
        ;;
    *)
        echo "usage: $0 two|primary" >&2
        exit 2
        ;;
esac
# Reading the layout back also makes sure the server has settled it before any Wine process asks:
# without a query in between, a Wine process that starts next sometimes still sees the old one.
xrandr --listmonitors
