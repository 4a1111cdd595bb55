#!/usr/bin/env bash
# Installs the Debian packages for the given purposes, all of them without one; skips what is there.
#   bash scripts/setup.sh run            what building and running the window needs (scripts/run.sh)
#   bash scripts/setup.sh                everything, for the whole test suite (scripts/test.sh)
#   bash scripts/setup.sh --list [PURPOSE...]   prints the packages, one a line, and installs nothing
# Each package stands in one list only.
set -euo pipefail

purposes=(run window-tests stick-tests print-tests package-tests fuzz windows)

# Building the program and running its window: compiler and build tools, Qt 6 with its tools and German
# dialog texts, libjpeg, libacl (a file written over keeps its access list) and a metric-compatible sans for
# the window's font.
packages_run=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libjpeg62-turbo-dev libacl1-dev
    fonts-liberation
)
# Window tests, the window's class, screenshots and clicks through the real window under a virtual X server,
# and the window's widgets and message boxes read through the accessibility interface.
packages_window_tests=(xvfb xauth x11-apps x11-utils imagemagick xdotool python3-pyatspi at-spi2-core dbus xclip xsel)
# Saves on USB sticks: FAT and exFAT images, mounted by the kernel where it has them, else through FUSE.
packages_stick_tests=(dosfstools exfatprogs fusefat exfat-fuse)
# Printing tests through a private print server.
packages_print_tests=(cups cups-filters poppler-utils)
# The Debian package: building it, its metadata, lintian, the manual pages and the file types.
packages_package_tests=(dpkg-dev file appstream lintian man-db shared-mime-info)
# Fuzzing with libFuzzer.
packages_fuzz=(clang-14 libclang-rt-14-dev)
# The Windows build (scripts/windows.sh, with dpkg-source from the package tools) and its installer, run
# under wine.
packages_windows=(g++-mingw-w64-x86-64-posix wine wine64 nsis)

list_only=false
if [ "${1:-}" = "--list" ]; then
    list_only=true
    shift
fi
wanted=("$@")
if [ ${#wanted[@]} -eq 0 ]; then
    wanted=("${purposes[@]}")
fi

packages=()
for purpose in "${wanted[@]}"; do
    # A here-string, not a pipe: grep -q stops at the first match, and under pipefail printf's broken pipe
    # would then count as "unknown".
    if ! grep -qx -- "$purpose" <<<"$(printf '%s\n' "${purposes[@]}")"; then
        echo "setup.sh: unknown purpose '$purpose' (known: ${purposes[*]})" >&2
        exit 2
    fi
    declare -n list="packages_${purpose//-/_}"
    packages+=("${list[@]}")
    unset -n list
done

if $list_only; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    if ! grep -q "install ok installed" <<<"$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)"; then
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
