#!/usr/bin/env bash
# The Windows build and its check on a real Win32, DirectDraw and DirectSound:
# builds the programs for 32-bit (the target) and 64-bit Windows with MinGW-w64,
# then runs the 64-bit ones under Wine on a private 16-bit X server (CTest preset
# mingw64). The 32-bit ones run too where Wine can run 32-bit programs. On a fresh
# Debian machine it first installs what it needs (as root, or through sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

packages=(build-essential cmake ninja-build pkg-config libpng-dev libtiff-dev
          mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64
          wine wine64 xvfb xdotool x11-utils imagemagick)
install_packages "${packages[@]}"

jobs=$(($(nproc) < 2 ? $(nproc) : 2))

# The replay tool renders on Linux the frames the Windows game is compared with.
configure_args=()
if [ -f tools/CMakeLists.txt ] && grep -q corvane-replay tools/CMakeLists.txt; then
    cmake -S . -B build/windows-host -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_BUILD_SDL=OFF >/dev/null
    cmake --build build/windows-host --target corvane-replay -j "$jobs"
    replay=$(find "$PWD/build/windows-host" -name corvane-replay -type f -perm -u+x | head -n 1)
    configure_args+=("-DCORVANE_REPLAY_TOOL=$replay")
fi

for preset in mingw32 mingw64; do
    cmake --preset "$preset" -G Ninja "${configure_args[@]}" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

ctest --preset mingw64
if [ -x /usr/lib/wine/wine ]; then
    ctest --test-dir build/mingw32 --output-on-failure
else
    echo "No 32-bit Wine here: the 32-bit programs are built, not run."
fi
