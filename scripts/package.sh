#!/usr/bin/env bash
# Makes the players' packages in build/packages/, each by CPack from the game's
# install rules: corvane-VERSION-win32.zip and corvane-VERSION-win64.zip (the
# Windows cross builds, presets mingw32 and mingw64), corvane_VERSION_ARCH.deb
# (preset deb) and corvane-VERSION-web.zip (preset web: the game as a web page,
# index.html at the zip's top). VERSION is the project's, with what git describe
# says of the sources. On a fresh Debian machine it first installs what it needs
# (as root, or through sudo). scripts/package-check.sh tries them.
#   scripts/package.sh              all four, in a build/packages/ emptied first
#   scripts/package.sh KIND...      only those (win32 win64 deb web), replacing their
#                                   older files and keeping the others
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

declare -A PRESET=([win32]=mingw32 [win64]=mingw64 [deb]=deb [web]=web)
declare -A PURPOSE=([win32]=windows [win64]=windows [deb]=packages [web]=browser)
declare -A MADE=([win32]='corvane-*-win32.zip' [win64]='corvane-*-win64.zip'
    [deb]='corvane_*.deb' [web]='corvane-*-web.zip')
kinds=("$@")
((${#kinds[@]})) || kinds=(win32 win64 deb web)
purposes=(build)
for kind in "${kinds[@]}"; do
    if [ -z "${PRESET[$kind]:-}" ]; then
        echo "usage: $0 [KIND...] (kinds: win32 win64 deb web)" >&2
        exit 2
    fi
    purposes+=("${PURPOSE[$kind]}")
done
install_for "${purposes[@]}"

jobs=$(($(nproc) < 2 ? $(nproc) : 2))
out=build/packages
(($#)) || rm -rf "$out"
mkdir -p "$out"
for kind in "${kinds[@]}"; do
    preset=${PRESET[$kind]}
    cmake --preset "$preset" -G Ninja >/dev/null
    cmake --build --preset "$preset" -j "$jobs" --target corvane
    rm -rf "build/$preset/packages"
    (cd "build/$preset" && cpack >/dev/null)
    # shellcheck disable=SC2086 # the pattern of the kind's file names
    rm -f "$out"/${MADE[$kind]}
    mv "build/$preset"/packages/* "$out/"
done
echo "Packages in $out:"
ls -l "$out"
