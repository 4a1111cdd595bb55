#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds (default 600).
# New inputs are kept in build/fuzz/work/<target> (the committed seeds in tests/fuzz/corpus stay as they are);
# a finding is saved as build/fuzz/work/<target>-crash-... and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
targets=(fuzz_decoder fuzz_encoder fuzz_padcipher fuzz_jpeg fuzz_textfile)

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DQUARN_FUZZ=ON >/dev/null
# Quiet when it builds; the end of the build log when it does not.
if ! cmake --build build/fuzz -j "$(nproc)" >build/fuzz/build.log 2>&1; then
    tail -n 40 build/fuzz/build.log
    exit 1
fi

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:allocator_may_return_null=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
for t in "${targets[@]}"; do
    work=build/fuzz/work/$t
    mkdir -p "$work"
    log=build/fuzz/work/$t.log
    # -rss_limit_mb also caps a single allocation: a picture the loader should have refused shows up here.
    if build/fuzz/tests/fuzz/"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$work-" -print_final_stats=1 "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
        runs=$(grep -m1 '^stat::number_of_executed_units' "$log" | awk '{print $2}')
        echo "$t: ${runs:-?} runs in ${seconds} s, no finding"
    else
        echo "$t: FINDING (see $log)"
        grep -v '^#\|^INFO\|^"' "$log" | tail -40
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}"
    exit 1
fi
