#!/usr/bin/env bash
# Installs every Debian 12 package needed to build, test, fuzz and run Tarvik (run as root).
set -euo pipefail

packages=(
    # Native build and tests
    cmake ninja-build gcc g++ googletest clang-format-14
    # Header-only PNG reader used by tarvik-cli
    libstb-dev
    # Windows cross build (posix threads flavour; brings windres and objdump too)
    g++-mingw-w64-x86-64-posix
    # Fuzzing: clang plus its runtimes (libclang_rt.fuzzer/asan/ubsan come from libclang-rt-14-dev)
    clang-14 libclang-rt-14-dev libfuzzer-14-dev
    # Running the Windows build: Wine, its UI fonts and the X libraries it loads at run time
    wine wine64 fonts-wine libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1
    libxcomposite1 libxfixes3
    # Headless display, window automation and screenshots
    xvfb xauth xdotool imagemagick procps
    # The two-monitor display of the multi-monitor scenes: Xorg with the dummy driver, xrandr
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    # The Windows Installer package (wixl; msiinfo, msibuild and msiextract from msitools) and
    # the portable zip
    wixl msitools zip unzip
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    echo "install-deps: all ${#packages[@]} packages already installed"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
if ((EUID != 0)); then
    echo "install-deps: must run as root to install packages" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
