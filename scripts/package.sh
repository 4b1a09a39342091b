#!/usr/bin/env bash
# Makes the players' packages in build/packages/: corvane-VERSION-win32.zip and
# corvane-VERSION-win64.zip (the Windows cross builds, presets mingw32 and
# mingw64) and corvane_VERSION_ARCH.deb (preset deb), each by CPack from the
# game's install rules. VERSION is the project's, with what git describe says of
# the sources. On a fresh Debian machine it first installs what it needs (as
# root, or through sudo). scripts/package-check.sh tries them.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

install_for build windows packages

jobs=$(($(nproc) < 2 ? $(nproc) : 2))
out=build/packages
rm -rf "$out"
mkdir -p "$out"
for preset in mingw32 mingw64 deb; do
    cmake --preset "$preset" -G Ninja >/dev/null
    cmake --build --preset "$preset" -j "$jobs" --target corvane
    rm -rf "build/$preset/packages"
    (cd "build/$preset" && cpack >/dev/null)
    mv "build/$preset"/packages/* "$out/"
done
echo "Packages in $out:"
ls -l "$out"
