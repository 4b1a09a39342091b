#!/usr/bin/env bash
# Builds the game (preset play: optimised, no tests or benchmarks) and starts it
# in a window, passing on its options (corvane --help lists them and the keys).
# On a fresh Debian machine it first installs what the build needs (through
# apt-get, as root or with sudo). Exits with the game's exit code:
#   0    the window was closed
#   2    an option the game does not know (it prints its usage)
#   3    no display to open the window on
#   255  the game could not start: its box and debug.txt say why (no Images
#        folder, for one). Without a sound device it plays silently and says
#        so in one line.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

# The game says the same when it finds no display itself; this saves the build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available to open the game's window." >&2
    exit 3
fi

install_for build

cmake --preset play -G Ninja >/dev/null
cmake --build --preset play --target corvane

# The game reads Images/ and writes debug.txt in the folder it starts from.
cd build/play/tools/corvane
rm -f debug.txt
status=0
./corvane "$@" || status=$?
if [ "$status" -eq 255 ]; then
    echo "The game did not start; its box and $PWD/debug.txt say why." >&2
fi
exit "$status"
