#!/bin/sh
# Builds the libFuzzer targets in build-fuzz and runs each for a bounded time on a copy of its
# seed corpus, then prints the runs each one survived. Any crash, leak or mismatch fails.
#   tools/run_fuzz.sh [seconds per target] [target...]     (default: 60 s, every target)
# FUZZ_JOBS sets the build's parallelism; FUZZ_NICE (default 19) the runs' niceness.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
build=${FUZZ_BUILD:-build-fuzz}
jobs=${FUZZ_JOBS:-2}

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORVANE_FUZZ=ON -DMORVANE_SANITIZE=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target morvane_fuzzers -j "$jobs"

if [ $# -eq 0 ]; then
    set -- $(for f in fuzz/fuzz_*.cpp; do basename "$f" .cpp; done)
fi

mkdir -p "$build/corpus" "$build/logs" "$build/crashes"
# Short allocation stacks and a small quarantine: with full stacks, every new way Qt allocates
# is kept for good, and the settings target grew by about 150 MB a million runs at half speed.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1:malloc_context_size=5:quarantine_size_mb=16}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
summary=""
for target in "$@"; do
    name=${target#fuzz_}
    work="$build/corpus/$name"
    mkdir -p "$work"
    set -- -max_total_time="$seconds" -print_final_stats=1 -timeout=30 -rss_limit_mb=4096 \
        -artifact_prefix="$build/crashes/$name-"
    [ -f "fuzz/$name.dict" ] && set -- "$@" -dict="fuzz/$name.dict"
    [ -f "fuzz/$name.options" ] && set -- "$@" $(cat "fuzz/$name.options")
    log="$build/logs/$name.log"
    echo "== $target: $seconds s"
    # New inputs go to the work folder; the seeds in the tree are only read.
    if nice -n "${FUZZ_NICE:-19}" "$build/fuzz/$target" "$@" "$work" "fuzz/corpus/$name" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
        tail -n 60 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    summary="$summary$(printf '%-28s %12s runs  %s' "$target" "${runs:-?}" "$result")
"
done
printf '\n%s' "$summary"
exit $status
