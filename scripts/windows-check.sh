#!/usr/bin/env bash
# The Windows build and its check on a real Win32, DirectDraw and DirectSound:
# builds the programs for 32-bit (the target) and 64-bit Windows with MinGW-w64
# and runs both under Wine on private 16-bit X servers (CTest presets mingw32
# and mingw64, each run in a Wine prefix of its own made afresh). The 32-bit
# programs need a kernel that runs 32-bit programs, and the 32-bit Wine, which
# this installs where the kernel does; elsewhere they are built, not run. On a
# fresh Debian machine it first installs what it needs (as root, or through sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

packages=(build-essential cmake ninja-build pkg-config libpng-dev libtiff-dev
          mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64
          wine wine64 libgl1-mesa-dri xvfb xdotool x11-utils imagemagick)
install_packages "${packages[@]}"

checked=(mingw64)
if install_wine32; then
    # Full screen draws through Wine's OpenGL renderer, on Mesa's software one.
    install_packages libgl1-mesa-dri:i386
    checked=(mingw32 mingw64)
else
    echo "This kernel does not run 32-bit programs: the 32-bit Windows build is built but not run; the 64-bit build runs under Wine."
fi

jobs=$(($(nproc) < 2 ? $(nproc) : 2))

# The replay tool renders on Linux the frames the Windows game is compared with.
host=build/windows-host
cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_BUILD_SDL=OFF >/dev/null
cmake --build "$host" --target corvane-replay -j "$jobs"

for preset in mingw32 mingw64; do
    cmake --preset "$preset" -G Ninja \
        -DCORVANE_REPLAY_TOOL="$PWD/$host/tools/corvane-replay/corvane-replay" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

for preset in "${checked[@]}"; do
    ctest --preset "$preset"
done
