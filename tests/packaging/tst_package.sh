#!/usr/bin/env bash
# Package test: cpack makes the .deb, dpkg -x installs it into a scratch root, the tools run from there.
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/out/*.deb)
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
depends_names=$(echo "$depends" | tr ',' '\n' | sed 's/(.*//; s/[[:space:]]//g')
# No early-closing readers in pipes below: with pipefail the writer's SIGPIPE would fail the test.
needs() { grep -qx "$1" <<<"$depends_names"; }
# The font is looked up by name at run time, so no library check can find it.
for needed in fonts-liberation libqt6widgets6 libjpeg62-turbo; do
    needs "$needed" || { echo "FAIL: the package does not depend on $needed"; exit 1; }
done

dpkg -x "$deb" "$scratch/root"
for f in usr/bin/quarn usr/bin/quarn-cli usr/share/applications/de.quarn.Quarn.desktop \
    usr/share/metainfo/de.quarn.Quarn.metainfo.xml usr/share/icons/hicolor/16x16/apps/de.quarn.Quarn.png \
    usr/share/icons/hicolor/32x32/apps/de.quarn.Quarn.png; do
    [ -e "$scratch/root/$f" ] || { echo "FAIL: $f is not in the package"; exit 1; }
done

# Every library the installed programs load comes from a package the .deb depends on.
for bin in "$scratch"/root/usr/bin/*; do
    for lib in $(objdump -p "$bin" | awk '$1 == "NEEDED" {print $2}'); do
        path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64/ && !found {print $NF; found = 1}')
        # dpkg knows a file by the path its package ships, which may be the link or, after /usr was
        # merged, only the /usr spelling of what it points to.
        owner=$({ dpkg -S "$path" || dpkg -S "$(readlink -f "$path")"; } 2>/dev/null | sed -n '1s/:.*//p')
        [ -n "$owner" ] || { echo "FAIL: no package provides $lib for $(basename "$bin")"; exit 1; }
        needs "$owner" || { echo "FAIL: $(basename "$bin") loads $lib from $owner, which is not a dependency"; exit 1; }
    done
done

"$scratch/root/usr/bin/quarn-cli" --help | grep encipher >/dev/null || { echo "FAIL: quarn-cli --help"; exit 1; }
# The installed tool works, not only its help: a pad and a round trip through it.
cli=$scratch/root/usr/bin/quarn-cli
"$cli" pad >"$scratch/test.OTP"
text=$(echo "Treffen 12.30 Uhr" | "$cli" encode | "$cli" encipher "$scratch/test.OTP" | "$cli" decipher "$scratch/test.OTP")
[ "$text" = "TREFFEN 12.30 UHR" ] || { echo "FAIL: installed quarn-cli round trip gave '$text'"; exit 1; }

desktop=$scratch/root/usr/share/applications/de.quarn.Quarn.desktop
for line in 'Name\[de\]=' 'Comment\[de\]=' 'Categories=Utility;' 'Exec=quarn' 'Icon=de.quarn.Quarn'; do
    grep -q "^$line" "$desktop" || { echo "FAIL: the desktop entry lacks $line"; exit 1; }
done
# A missing validator must not pass for a valid file; scripts/setup.sh installs it.
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/de.quarn.Quarn.metainfo.xml"
