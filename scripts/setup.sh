#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; skips what is there.
set -euo pipefail

packages=(
    # build
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libjpeg62-turbo-dev
    # fonts: metric-compatible sans for the window
    fonts-liberation
    # window tests and screenshots
    xvfb xauth x11-apps imagemagick
    # clicking through the real window and its dialogs on Xvfb, as a user would
    xdotool
    # finding the window's widgets and reading its message boxes through the accessibility interface
    python3-pyatspi at-spi2-core dbus
    # printing tests through a private print server
    cups cups-filters poppler-utils
    # the Debian package and its metadata
    dpkg-dev file appstream
    # fuzzing with libFuzzer
    clang-14 libclang-rt-14-dev
    # the core's Windows build, run under wine
    g++-mingw-w64-x86-64-posix wine wine64
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
