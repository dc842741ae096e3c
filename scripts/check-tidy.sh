#!/usr/bin/env bash
# Builds every program target with clang (so the window code is known to compile with clang as
# well as with gcc), then runs clang-tidy with the root .clang-tidy over the sources of src/.
# Fails on any warning. The build goes to build-clang/ (or $KESTRA_CLANG_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRA_CLANG_BUILD_DIR:-$root/build-clang}"
cd "$root"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g0" \
    -DKESTRA_WERROR=ON -DKESTRA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target kestra -j "$(nproc)"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! run-clang-tidy -p "$build" -quiet -j "$(nproc)" "$root/src/(core|ui|cli|platform|render|app)/.*\.cpp\$" >"$log" 2>&1; then
    grep -E "(warning|error):" "$log" | sort -u >&2 || cat "$log" >&2
    echo "clang-tidy found problems (see above)" >&2
    exit 1
fi
echo "clang-tidy: no warnings"
