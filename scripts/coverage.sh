#!/usr/bin/env bash
# Line and region coverage of the core by its tests (clang's source-based coverage, the
# "coverage" preset). Prints llvm-cov's summary per folder and in all; the HTML report goes to
# build-coverage/html when --html is given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-coverage"
cd "$root"
cmake --preset coverage >/dev/null
cmake --build --preset coverage --target core_tests
rm -f "$build"/coverage-*.profraw
(cd "$build" && LLVM_PROFILE_FILE="$build/coverage-%p.profraw" ./tests/core_tests --gtest_brief=1 >/dev/null)
llvm-profdata merge -sparse "$build"/coverage-*.profraw -o "$build/coverage.profdata"
report=(-instr-profile="$build/coverage.profdata" "$build/tests/core_tests" "$root/src/core")
llvm-cov report "${report[@]}" | awk 'NR <= 2 || /^TOTAL/' | cut -c1-200
echo
echo "By folder (lines):"
llvm-cov export -summary-only "${report[@]}" | python3 -c '
import json, sys, collections
data = json.load(sys.stdin)["data"][0]["files"]
folders = collections.defaultdict(lambda: [0, 0])
for entry in data:
    folder = entry["filename"].split("/src/core/")[1].split("/")[0]
    lines = entry["summary"]["lines"]
    folders[folder][0] += lines["covered"]
    folders[folder][1] += lines["count"]
for folder, (covered, count) in sorted(folders.items()):
    print(f"  {folder:12} {100.0 * covered / max(count, 1):5.1f}%  ({covered}/{count})")
'
if [ "${1:-}" = "--html" ]; then
    llvm-cov show -format=html -output-dir="$build/html" "${report[@]}"
    echo "HTML report: $build/html/index.html"
fi
