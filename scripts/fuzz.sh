#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for the given number
# of seconds (default 60), starting from its seed corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"
CXX=clang++ KESTRA_BUILD_DIR="$build" "$root/scripts/build.sh" -DKESTRA_FUZZ=ON -DKESTRA_CORE_ONLY=ON \
    -DKESTRA_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
for target in "$build"/tests/fuzz/*_fuzz; do
    [ -x "$target" ] || continue
    name="$(basename "$target")"
    work="$build/corpus/$name"
    mkdir -p "$work"
    seeds="$root/tests/fuzz/corpus/$name"
    echo "Fuzzing $name for $seconds s"
    (cd "$build" && "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 "$work" $( [ -d "$seeds" ] && echo "$seeds" ) 2>&1 | tail -n 12)
    [ "${PIPESTATUS[0]}" -eq 0 ] || exit 1
done
