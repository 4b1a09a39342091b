#!/usr/bin/env bash
# Builds Corvane and starts the game in a window, passing on its options
# (corvane --help lists them and the keys). On a fresh Debian machine it first
# installs what the build needs (through apt-get, as root or with sudo). Exits
# with the game's exit code: 3 when there is no display to open the window on.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

# The game says the same when it finds no display itself; this saves the build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available to open the game's window; corvane-replay (built beside it) plays the game without one and saves its frames as pictures." >&2
    exit 3
fi

packages=(build-essential cmake ninja-build pkg-config libsdl2-dev libgtest-dev libgmock-dev
          libbenchmark-dev libpng-dev libtiff-dev)
install_packages "${packages[@]}"

cmake --preset release -G Ninja >/dev/null
cmake --build --preset release --target corvane

# The game reads Images/ and writes debug.txt in the folder it starts from.
cd build/release/tools/corvane
rm -f debug.txt
status=0
./corvane "$@" || status=$?
# A failed start names its status in the log; the game needs a sound device.
if [ "$status" -ne 0 ] && grep -qs SOUNDINIT_FAILED debug.txt; then
    echo "SDL found no sound device. To play without sound, use SDL's silent driver:" \
        "SDL_AUDIODRIVER=dummy scripts/play.sh" >&2
fi
exit "$status"
