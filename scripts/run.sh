#!/usr/bin/env bash
# Sets up and builds KESTRA, then opens a copy of the example project in the window when a
# display is available; without one it shows the main job on the command line instead: the
# project is analysed, its synthesizable VHDL generated and, with the open FPGA tools installed,
# built to a bitstream and simulated. With arguments, runs the program with them instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRA_BUILD_DIR:-$root/build}"
"$root/scripts/setup.sh"
KESTRA_BUILD_DIR="$build" "$root/scripts/build.sh" -DKESTRA_BENCHMARKS=OFF
kestra="$build/src/app/kestra"
if [ $# -gt 0 ]; then
    exec "$kestra" "$@"
fi

demo="$(mktemp -d "${TMPDIR:-/tmp}/kestra-demo.XXXXXX")"
cp -r "$root/examples/blinker/." "$demo/"
cd "$demo"
# The demo keeps its settings and libraries beside the copy, away from the user's own.
export XDG_CONFIG_HOME="$demo/.config" XDG_DATA_HOME="$demo/.local/share"
echo "== Example project copied to $demo"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$kestra" Blinker.kst
fi
"$kestra" show Blinker.kst
echo "== kestra analyze Blinker.kst"
"$kestra" analyze Blinker.kst
echo "== kestra generate Blinker.kst"
"$kestra" generate Blinker.kst
echo "== Generated file: $demo/BLINKER.vhd"
if command -v nextpnr-ice40 >/dev/null 2>&1 && command -v icepack >/dev/null 2>&1; then
    echo "== kestra build Blinker.kst (the bitstream for an iCE40 HX1K board)"
    "$kestra" build Blinker.kst
    echo "== kestra simulate Blinker.kst (the test bench, its waveform written)"
    "$kestra" simulate Blinker.kst
fi
