#!/usr/bin/env bash
# Sets up, builds with warnings as errors and runs the whole test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRA_BUILD_DIR:-$root/build}"
"$root/scripts/setup.sh"
KESTRA_BUILD_DIR="$build" "$root/scripts/build.sh" -DKESTRA_WERROR=ON
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
