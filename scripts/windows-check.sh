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
          wine wine64 xvfb xdotool x11-utils imagemagick)
install_packages "${packages[@]}"

# Whether this kernel runs 32-bit x86 programs, found by running one: a static
# program of three instructions that exits with status 0.
runs_32_bit_programs() {
    local dir status=0
    dir=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
    { as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" &&
        "$dir/exit"; } 2>/dev/null || status=$?
    rm -rf "$dir"
    return "$status"
}

checked=(mingw64)
if runs_32_bit_programs; then
    # Debian's 32-bit Wine comes with the i386 architecture.
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    install_packages wine32:i386
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
