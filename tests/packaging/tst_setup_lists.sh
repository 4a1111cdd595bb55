#!/usr/bin/env bash
# The set-up script's lists: each package in one list only, the run list free of test tools, and an unknown
# purpose refused rather than installing nothing.
set -euo pipefail
setup=$1
failed=0
twice=$(bash "$setup" --list | sort | uniq -d)
[ -z "$twice" ] || { echo "FAIL: named in more than one list: $twice"; failed=1; }
run=$(bash "$setup" --list run)
[ -n "$run" ] || { echo "FAIL: the run list is empty"; failed=1; }
for tool in xvfb cups lintian wine clang-14 g++-mingw-w64-x86-64-posix; do
    grep -qx -- "$tool" <<<"$run" && { echo "FAIL: the run list installs the test tool $tool"; failed=1; }
done
if bash "$setup" --list no-such-purpose >/dev/null 2>&1; then
    echo "FAIL: an unknown purpose was accepted"
    failed=1
fi
exit $failed
