#!/usr/bin/env bash
# Builds Corvane and starts the game in a window, passing on its options
# (corvane --help lists them and the keys). On a fresh Debian machine it first
# installs what the build needs (through apt-get, as root or with sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

no_display() {
    echo "No display is available to open the game's window; corvane-replay (built beside it) plays the game without one and saves its frames as pictures." >&2
    exit 1
}
[ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || no_display

packages=(build-essential cmake ninja-build pkg-config libsdl2-dev libgtest-dev libgmock-dev
          libbenchmark-dev libpng-dev libtiff-dev)
install_packages "${packages[@]}"

cmake --preset release -G Ninja >/dev/null
cmake --build --preset release --target corvane

# The game reads Images/ and writes debug.txt in the folder it starts from.
cd build/release/tools/corvane
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
# Standard error is shown as it comes and kept, to tell a missing display apart.
set +e
{ ./corvane "$@" 2>&1 1>&3 3>&- | tee "$errors" >&2; } 3>&1
status=${PIPESTATUS[0]}
set -e
if grep -q "no display available" "$errors"; then
    no_display
fi
exit "$status"
