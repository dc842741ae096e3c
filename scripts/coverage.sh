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
llvm-cov export -summary-only "${report[@]}" | python3 -c '
import json, sys, collections
data = json.load(sys.stdin)["data"][0]["files"]
folders = collections.defaultdict(lambda: [0, 0, 0, 0])
for entry in data:
    name = entry["filename"].replace("\\", "/")
    if "/src/core/" not in name:
        continue
    folder = name.split("/src/core/")[-1].split("/")[0]
    lines, regions = entry["summary"]["lines"], entry["summary"]["regions"]
    folders[folder][0] += lines["covered"]
    folders[folder][1] += lines["count"]
    folders[folder][2] += regions["covered"]
    folders[folder][3] += regions["count"]
def show(label, counts):
    lines = 100.0 * counts[0] / max(counts[1], 1)
    regions = 100.0 * counts[2] / max(counts[3], 1)
    print(f"  {label:12} lines {lines:5.1f}% ({counts[0]}/{counts[1]})   regions {regions:5.1f}%")
print("Core coverage by the core tests:")
for folder, counts in sorted(folders.items()):
    show(folder, counts)
show("all", [sum(c[i] for c in folders.values()) for i in range(4)])
'
if [ "${1:-}" = "--html" ]; then
    llvm-cov show -format=html -output-dir="$build/html" "${report[@]}"
    echo "HTML report: $build/html/index.html"
fi
