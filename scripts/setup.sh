#!/usr/bin/env bash
# Installs what KESTRA needs to build and test on Debian 12, skipping what is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev libqt6svg6 qt6-svg-dev libqscintilla2-qt6-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    ghdl yosys nextpnr-ice40 fpga-icestorm gtkwave libgraphviz-dev clang libclang-rt-14-dev clang-format clang-tidy
    xvfb xauth imagemagick poppler-utils xdotool xclip desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
