#!/usr/bin/env bash
# Builds Corvane and runs the whole test suite. On a fresh Debian machine it first
# installs what the build and the tests need (as root, or through sudo).
#   scripts/check.sh          the dev build (debug) under CTest
#   scripts/check.sh asan     the same under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
preset="${1:-dev}"

# Build, test libraries, and what the real-window tests drive the game with (a
# window manager for the switch to full screen).
packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libpng-dev libtiff-dev libsdl2-dev xvfb xdotool x11-apps x11-utils imagemagick openbox)
install_packages "${packages[@]}"

cmake --preset "$preset" -G Ninja >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j "$(nproc)"
