#!/usr/bin/env bash
# Runs quarn-cli itself, under an emulator such as wine when one is given, and checks the exact bytes on
# its streams: no CR LF translation on standard output, CR LF and Windows-1252 files read as they are.
# Usage: cli_exe.sh QUARN-CLI [EMULATOR...]
set -uo pipefail
exe=$1
shift
emulator=("$@")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
passed=0
failed=0

cli() { "${emulator[@]}" "$exe" "$@"; }

# expect NAME WANTED-STATUS EXPECTED-BYTES-FILE -- COMMAND...: compares status and standard output.
expect() {
    local name=$1 status=$2 want=$3
    shift 4
    "$@" >out.bin 2>err.txt
    local got=$?
    if [ "$got" -eq "$status" ] && cmp -s out.bin "$want"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL $name: status $got (want $status)"
        echo "  got:  $(od -An -c out.bin | head -3 | tr -s ' ')"
        echo "  want: $(od -An -c "$want" | head -3 | tr -s ' ')"
        head -3 err.txt
    fi
}

want() { printf "$@" >want.bin; echo want.bin; }

printf '8011' >digits.txt
printf 'gr\xfc\xdfe\r\n\xc4rger\r\n' >umlaut.txt
expect "decode writes CR LF and LF exactly" 0 "$(want '\r\nEE\n')" -- cli decode digits.txt
expect "decode from a pipe" 0 "$(want '\r\nEE\n')" -- sh -c "printf '8011\r\n' | \"\$@\"" sh "${emulator[@]}" "$exe" decode
expect "a Windows-1252 file with CR LF is encoded byte by byte" 0 "$(want '57414 584\n')" -- cli encode umlaut.txt
expect "a missing file fails with nothing on standard output" 1 "$(want '')" -- cli encode none.txt

cli pad >pad1.txt 2>/dev/null
cli pad >pad2.txt 2>/dev/null
if [ "$(wc -c <pad1.txt)" -eq 601 ] && [ "$(tail -c 2 pad1.txt)" = " " ] && ! cmp -s pad1.txt pad2.txt &&
    head -c 600 pad1.txt | grep -Eq '^([0-9]{5} ){100}$'; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "FAIL pad: not a fresh pad text: $(head -c 80 pad1.txt)"
fi

# A pad saved with CR LF, as on Windows, and a file name with a blank.
{ head -c 600 pad1.txt; printf '\r\n'; } >"heute mittag.OTP"
printf 'Treffpunkt 12.30 Uhr am Tor\r\n' >text.txt
cli encode text.txt >groups.txt
cli encipher "heute mittag.OTP" groups.txt >cipher.txt
expect "decipher with the pad gives the text back" 0 "$(want 'TREFFPUNKT 12.30 UHR AM TOR\n')" -- \
    cli decipher "heute mittag.OTP" cipher.txt
expect "decipher --digits gives the groups back" 0 groups.txt -- cli decipher --digits "heute mittag.OTP" cipher.txt
head -c 599 pad1.txt >short.OTP
expect "a short pad fails" 1 "$(want '')" -- cli encipher short.OTP groups.txt
expect "wrong usage exits with 2" 2 "$(want '')" -- cli frobnicate

# What one command writes, the next reads: blanks and line breaks between digits are layout.
expect "decode reads the groups encode writes" 0 "$(want 'TREFFPUNKT 12.30 UHR AM TOR\n')" -- cli decode groups.txt
cli decipher --digits "heute mittag.OTP" cipher.txt >digits.txt
expect "decipher --digits then decode equals decipher" 0 "$(want 'TREFFPUNKT 12.30 UHR AM TOR\n')" -- \
    cli decode digits.txt

# The same text in UTF-8 and in Windows-1252 gives the same groups and names the same characters.
printf 'gr\xc3\xbc\xc3\x9fe\r\n\xc3\x84rger\r\n' >utf8.txt
expect "a UTF-8 file is encoded as its Windows-1252 twin" 0 "$(want '57414 584\n')" -- cli encode utf8.txt
cp err.txt utf8-notice.txt
cli encode umlaut.txt 2>umlaut-notice.txt >/dev/null
if cmp -s utf8-notice.txt umlaut-notice.txt && grep -q "^Nicht in der Quarn-Tafel" utf8-notice.txt; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "FAIL the notice differs between UTF-8 and Windows-1252: $(cat utf8-notice.txt) / $(cat umlaut-notice.txt)"
fi

mkdir pads
expect "pad -o writes a new file, nothing on standard output" 0 "$(want '')" -- cli pad -o pads/neu.OTP
cp pads/neu.OTP first.OTP
expect "pad -o never replaces a file" 1 "$(want '')" -- cli pad -o pads/neu.OTP
if cmp -s pads/neu.OTP first.OTP && [ "$(ls -A pads)" = "neu.OTP" ] && [ "$(wc -c <first.OTP)" -eq 601 ]; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "FAIL pad -o: the file changed or something is left beside it: $(ls -A pads)"
fi

# The worksheet is the one command that starts Qt: on its offscreen platform, with the fonts the system has
# (wine's own folder has none, so its run names Debian's), and no display.
fonts=()
if [ ${#emulator[@]} -gt 0 ]; then
    fonts=(QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/liberation)
fi
env -u DISPLAY -u QT_QPA_PLATFORM "${fonts[@]}" "${emulator[@]}" "$exe" worksheet "heute mittag.OTP" text.txt \
    -o sheet.pdf 2>err.txt
sheet=$?
if [ "$sheet" -eq 0 ] && [ ! -s err.txt ] && [ "$(head -c 5 sheet.pdf)" = "%PDF-" ] &&
    { ! command -v pdftotext >/dev/null || pdftotext sheet.pdf - | grep -q "^Klartext"; }; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "FAIL worksheet: status $sheet, $(head -c 8 sheet.pdf 2>/dev/null | od -An -c | tr -s ' ')"
    head -3 err.txt
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
