#!/usr/bin/env bash
# Builds the Windows program and its packages into build/windows/: quarn.exe, quarn-cli.exe, the installer
# (*-setup.exe) and the portable zip.
#   bash scripts/windows.sh           everything (the first run also builds the libraries: 20-60 minutes)
#   bash scripts/windows.sh --libs    only the cached libraries; prints their folder
# Qt base and libjpeg-turbo are built from Debian's own source packages (the Qt the program builds against
# on Linux), statically, for x86_64 mingw with posix threads, and installed into a cache folder named after
# the source versions and the build options below: QUARN_CACHE_DIR, /var/cache/quarn by default.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

libs_only=false
if [ "${1:-}" = "--libs" ]; then
    libs_only=true
fi

# dpkg-source comes with the package tools.
bash scripts/setup.sh windows package-tests

# ---- The libraries' build options; any change here makes a new cache folder. ----
qt_configure_options=(
    -static -static-runtime -release -nomake examples -nomake tests
    -no-dbus -no-opengl -no-feature-vulkan -no-openssl
    # Debian's +dfsg tarball drops the Wintab header the tablet support needs.
    -no-feature-tabletevent
    -no-feature-sql -no-feature-xml -no-feature-concurrent
    # One libjpeg in the executable: the one the program's own picture code links.
    -qt-zlib -qt-pcre -qt-libpng -system-libjpeg -qt-harfbuzz -qt-freetype -no-icu
)
jpeg_cmake_options=(-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF)
# The libraries' toolchain; the program's own is cmake/windows-qt.cmake.
lib_toolchain='set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 @PREFIX@)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)'

# ---- The sources: Debian's, at the versions of the host Qt and libjpeg. ----
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
jpeg_version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo-dev)
compiler_version=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
options_hash=$(printf '%s\n' "${qt_configure_options[*]}" "${jpeg_cmake_options[*]}" "$lib_toolchain" \
    "$compiler_version" | sha256sum | cut -c1-12)
cache_root=${QUARN_CACHE_DIR:-/var/cache/quarn}
prefix="$cache_root/windows-qt${qt_version//[:+~]/_}-jpeg${jpeg_version//[:+~]/_}-$options_hash"

# apt-get source needs deb-src lines: the same mirrors and suites as the deb ones.
add_source_lines() {
    local list=/etc/apt/sources.list.d/quarn-deb-src.sources
    [ -e "$list" ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    {
        for f in /etc/apt/sources.list.d/*.sources; do
            [ "$f" = "$list" ] && continue
            # Only Debian's own stanzas (those signed by Debian's archive key).
            awk -v RS= -v ORS='\n\n' '/debian-archive-keyring/ && /(^|\n)Types:[^\n]*deb/ {
                sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
        done
    } | $sudo tee "$list.tmp" >/dev/null
    if [ -e /etc/apt/sources.list ]; then
        sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list | $sudo tee -a "$list.tmp" >/dev/null
    fi
    # The classic format for the sources.list lines, deb822 for the rest: apt takes a file by its ending.
    if grep -q '^deb-src ' "$list.tmp"; then
        grep '^deb-src ' "$list.tmp" | $sudo tee /etc/apt/sources.list.d/quarn-deb-src.list >/dev/null
        grep -v '^deb-src ' "$list.tmp" | $sudo tee "$list" >/dev/null
        $sudo rm -f "$list.tmp"
    else
        $sudo mv "$list.tmp" "$list"
    fi
    $sudo apt-get update -qq
}

# Downloads one source package into $cache_root/sources (kept: a failed build need not fetch again) and
# unpacks it into $2; dpkg-source checks every file against the checksums of the .dsc.
fetch_source() {
    local package=$1 version=$2 dest=$3
    local dir="$cache_root/sources/$package-${version//[:+~]/_}"
    local plain=${version#*:}
    if ! ls "$dir"/"${package}_${plain}".dsc >/dev/null 2>&1; then
        add_source_lines
        mkdir -p "$dir"
        (cd "$dir" && apt-get source --download-only -qq "$package=$version")
    fi
    dpkg-source --require-strong-checksums -x "$dir/${package}_${plain}.dsc" "$dest"
}

build_libs() {
    local tmp
    tmp=$(mktemp -d "${TMPDIR:-/tmp}/quarn-windows-libs.XXXXXX")
    # shellcheck disable=SC2064
    trap "rm -rf '$tmp'" EXIT
    rm -rf "$prefix"
    mkdir -p "$prefix"
    local toolchain="$tmp/toolchain.cmake"
    printf '%s\n' "${lib_toolchain//@PREFIX@/$prefix}" >"$toolchain"
    local started=$SECONDS

    echo "== libjpeg-turbo $jpeg_version for Windows =="
    fetch_source libjpeg-turbo "$jpeg_version" "$tmp/jpeg-src"
    cmake -S "$tmp/jpeg-src" -B "$tmp/jpeg-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "${jpeg_cmake_options[@]}" >/dev/null
    nice -n 19 cmake --build "$tmp/jpeg-build" -j "$(nproc)" >/dev/null
    cmake --install "$tmp/jpeg-build" >/dev/null
    rm -rf "$tmp/jpeg-src" "$tmp/jpeg-build"

    echo "== Qt base $qt_version for Windows (static) =="
    fetch_source qt6-base "$qt_version" "$tmp/qt-src"
    mkdir "$tmp/qt-build"
    (cd "$tmp/qt-build" && "$tmp/qt-src/configure" -prefix "$prefix" -qt-host-path /usr \
        "${qt_configure_options[@]}" -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$tmp/qt-configure.log" 2>&1) || {
        tail -n 40 "$tmp/qt-configure.log" >&2
        exit 1
    }
    nice -n 19 cmake --build "$tmp/qt-build" -j "$(nproc)"
    cmake --install "$tmp/qt-build" >/dev/null
    rm -rf "$tmp"
    trap - EXIT
    touch "$prefix/.complete"
    echo "Windows libraries built in $((SECONDS - started)) s: $prefix"
}

mkdir -p "$cache_root"
# One build at a time per cache folder; a folder without its completion mark is built again.
exec 9>"$cache_root/.lock"
flock 9
if [ ! -e "$prefix/.complete" ]; then
    build_libs
fi
flock -u 9

if $libs_only; then
    echo "$prefix"
    exit 0
fi

# ---- The program, against the cached libraries, and its packages. ----
out=build/windows
tree=$out/cmake
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DQUARN_WINDOWS_PREFIX="$prefix" "${launcher[@]}" >/dev/null
cmake --build "$tree" -j "$(nproc)" --target quarn quarn-cli
rm -f "$out"/*.exe "$out"/*.zip
(cd "$tree" && cpack -G "NSIS;ZIP" -B "$root/$out/packages" >/dev/null)
mv "$out"/packages/*-setup.exe "$out"/packages/*.zip "$out"/
rm -rf "$out/packages"
# The executables as shipped: stripped, like the ones in the packages.
for exe in app/quarn.exe cli/quarn-cli.exe; do
    x86_64-w64-mingw32-strip -o "$out/$(basename "$exe")" "$tree/$exe"
done
# Self-contained: nothing but Windows' own libraries.
for exe in "$out"/quarn.exe "$out"/quarn-cli.exe; do
    foreign=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
        grep -viE '^(kernel32|user32|gdi32|shell32|shcore|ole32|oleaut32|advapi32|comdlg32|winspool|ws2_32|winhttp|wininet|ncrypt|bcrypt|msvcrt|imm32|winmm|dwmapi|uxtheme|version|netapi32|userenv|mpr|d2d1|d3d11|d3d9|dxgi|dwrite|shlwapi|setupapi|wtsapi32|authz|secur32|crypt32|iphlpapi|dnsapi|comctl32|rpcrt4|ntdll|api-ms-win-.*)\.(dll|drv)$' || true)
    if [ -n "$foreign" ]; then
        echo "windows.sh: $exe needs libraries Windows does not have: $foreign" >&2
        exit 1
    fi
done
ls -l "$out"/*.exe "$out"/*.zip
