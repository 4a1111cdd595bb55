#!/usr/bin/env bash
# Package test: cpack makes the .deb, lintian checks it, dpkg -x installs it into a scratch root, the tools
# run from there and the installed files are what desktops and man read.
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

# A packager's first check: no error and no warning (informational tags are shown, not failed on).
command -v lintian >/dev/null || { echo "FAIL: lintian is not installed (scripts/setup.sh package-tests)"; exit 1; }
lintian --fail-on error,warning --display-info "$deb" || { echo "FAIL: lintian reports errors or warnings"; exit 1; }

dpkg -x "$deb" "$scratch/root"
files=(usr/bin/quarn usr/bin/quarn-cli usr/share/applications/de.quarn.Quarn.desktop
    usr/share/metainfo/de.quarn.Quarn.metainfo.xml usr/share/mime/packages/de.quarn.Quarn.xml
    usr/share/man/man1/quarn.1.gz usr/share/man/man1/quarn-cli.1.gz
    usr/share/doc/quarn/copyright usr/share/doc/quarn/changelog.Debian.gz
    usr/share/icons/hicolor/scalable/apps/de.quarn.Quarn.svg)
for size in 16 24 32 48 64 128 256; do
    files+=("usr/share/icons/hicolor/${size}x${size}/apps/de.quarn.Quarn.png")
done
for f in "${files[@]}"; do
    [ -e "$scratch/root/$f" ] || { echo "FAIL: $f is not in the package"; exit 1; }
done

# The history must speak of the version it ships.
version=$(dpkg-deb -f "$deb" Version)
logged=$(zcat "$scratch/root/usr/share/doc/quarn/changelog.Debian.gz" | sed -n '1s/^quarn (\([^)]*\)).*/\1/p')
[ "$logged" = "$version" ] || { echo "FAIL: the changelog's last entry is '$logged', the package is $version"; exit 1; }

# The file types as the system compiles them: a private database from the standard types and ours.
mime=$scratch/mime
mkdir -p "$mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$scratch/root/usr/share/mime/packages/de.quarn.Quarn.xml" \
    "$mime/packages/"
# In the search path, or it warns that applications will not find the database.
XDG_DATA_DIRS=$scratch update-mime-database "$mime" 2>"$scratch/mime.log"
[ ! -s "$scratch/mime.log" ] || { cat "$scratch/mime.log"; echo "FAIL: update-mime-database complains"; exit 1; }
# globs2 lines read weight:type:glob[:cs]; case-sensitive so that *.otp stays the office template's.
grep -qx '80:application/x-quarn-pad:\*\.OTP:cs' "$mime/globs2" || { echo "FAIL: no case-sensitive *.OTP"; exit 1; }
grep -qx '50:application/x-quarn-cipher:\*\.crp:cs' "$mime/globs2" || { echo "FAIL: no case-sensitive *.crp"; exit 1; }
office=$(awk -F: '$3 == "*.otp" {print $1}' "$mime/globs2")
[ -n "$office" ] && [ "$office" -lt 80 ] || { echo "FAIL: *.otp weighs '$office', not less than *.OTP"; exit 1; }

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
# Its worksheet is drawn by the Qt the package depends on, on the offscreen platform, with no display.
echo "Treffen" | env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$cli" worksheet "$scratch/test.OTP" \
    -o "$scratch/sheet.pdf" || { echo "FAIL: installed quarn-cli worksheet"; exit 1; }
[ "$(head -c 5 "$scratch/sheet.pdf")" = "%PDF-" ] || { echo "FAIL: installed quarn-cli wrote no PDF"; exit 1; }

desktop=$scratch/root/usr/share/applications/de.quarn.Quarn.desktop
# A file manager hands the program the pads and cipher texts it opens with it.
for line in 'Name\[de\]=' 'Comment\[de\]=' 'Categories=Utility;' 'Exec=quarn %F$' 'Icon=de.quarn.Quarn' 'StartupWMClass=' \
    'MimeType=application/x-quarn-pad;application/x-quarn-cipher;$'; do
    grep -q "^$line" "$desktop" || { echo "FAIL: the desktop entry lacks $line"; exit 1; }
done
# A missing validator must not pass for a valid file; scripts/setup.sh installs it.
appstreamcli validate --pedantic --no-net "$scratch/root/usr/share/metainfo/de.quarn.Quarn.metainfo.xml"
