#!/usr/bin/env bash
# The manual pages render without a warning from man or groff, and quarn-cli(1) names every command and
# option the program's own help names.
set -euo pipefail
man_dir=$1
cli=$2
command -v man >/dev/null || { echo "SKIP: man is not installed (scripts/setup.sh package-tests)"; exit 77; }
failed=0
for page in "$man_dir"/quarn.1 "$man_dir"/quarn-cli.1; do
    # As lintian renders them: any line on standard error is a fault in the page.
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null
               groff -ww -man -Tutf8 -z "$page" 2>&1)
    if [ -n "$warnings" ]; then
        echo "FAIL: $(basename "$page") renders with warnings:"
        echo "$warnings"
        failed=1
    fi
    # whatis and apropos find a page by its name line.
    lexgrog "$page" >/dev/null || { echo "FAIL: $(basename "$page") has no name line that lexgrog reads"; failed=1; }
done

rendered=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$man_dir/quarn-cli.1" 2>/dev/null | col -b)
help=$("$cli" --help)
# Commands are the second word of the usage lines, options everything that starts with a dash there.
words=$(printf '%s\n' "$help" | awk '/^  quarn-cli / {print $2}' | grep -v '^-'
        printf '%s\n' "$help" | grep -oE -- '(^|[[:space:][])--?[a-z][a-z-]*' | tr -d ' [' | sort -u)
for word in $words; do
    grep -q -- "$word" <<<"$rendered" || { echo "FAIL: quarn-cli(1) does not mention $word"; failed=1; }
done
exit $failed
