#!/usr/bin/env bash
# The Windows build and its check on a real Win32, DirectDraw and DirectSound:
# builds the programs for 32-bit (the target) and 64-bit Windows with MinGW-w64
# and runs both under Wine on private 16-bit X servers (CTest presets mingw32
# and mingw64, each run in a Wine prefix of its own made afresh). The 32-bit
# programs need a kernel that runs 32-bit programs, and the 32-bit Wine, which
# this installs where the kernel does; elsewhere they are built, not run. On a
# fresh Debian machine it first installs what it needs (as root, or through
# sudo), in one line that says how many installed system libraries that
# upgrades; apt-get's and dpkg's own lines are shown only if it fails.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

# Wine, and its 32-bit part most of all, can upgrade dozens of installed system
# libraries: the installing line says how many.
install_for build windows wine display

checked=(mingw64)
if install_wine32; then
    checked=(mingw32 mingw64)
else
    echo "The 32-bit Windows build is built but not run; the 64-bit build runs under Wine."
fi

jobs=$(($(nproc) < 2 ? $(nproc) : 2))

# The replay tool renders on Linux the frames the Windows game is compared with.
cmake --preset replay -G Ninja >/dev/null
cmake --build --preset replay --target corvane-replay -j "$jobs"

for preset in mingw32 mingw64; do
    cmake --preset "$preset" -G Ninja \
        -DCORVANE_REPLAY_TOOL="$PWD/build/replay/tools/corvane-replay/corvane-replay" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

for preset in "${checked[@]}"; do
    ctest --preset "$preset"
done
