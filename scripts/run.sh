#!/usr/bin/env bash
# Sets up, builds and runs KESTRA. Arguments are passed to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exec "${KESTRA_BUILD_DIR:-$root/build}/src/app/kestra" "${@:---version}"
