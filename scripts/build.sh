#!/usr/bin/env bash
# Configures and builds KESTRA into build/ (or $KESTRA_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRA_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
