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
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/de.quarn.Quarn.metainfo.xml"
fi
