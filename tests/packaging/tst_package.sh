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
for needed in fonts-liberation libqt6widgets6 libqt6printsupport6 libjpeg62-turbo; do
    case "$depends" in
    *"$needed"*) ;;
    *) echo "FAIL: the package does not depend on $needed"; exit 1 ;;
    esac
done

dpkg -x "$deb" "$scratch/root"
for f in usr/bin/quarn usr/bin/quarn-cli usr/share/applications/de.quarn.Quarn.desktop \
    usr/share/metainfo/de.quarn.Quarn.metainfo.xml usr/share/icons/hicolor/16x16/apps/de.quarn.Quarn.png \
    usr/share/icons/hicolor/32x32/apps/de.quarn.Quarn.png; do
    [ -e "$scratch/root/$f" ] || { echo "FAIL: $f is not in the package"; exit 1; }
done

"$scratch/root/usr/bin/quarn-cli" --help | grep -q encipher || { echo "FAIL: quarn-cli --help"; exit 1; }
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
