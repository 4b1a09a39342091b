#!/usr/bin/env bash
# Makes the reference of the public headers, the ones the engine installs, with
# Doxygen (docs/Doxyfile) in build/docs/html/ (index.html opens on the cheat
# sheet, docs/cheatsheet.md). Fails, naming each one, when a public declaration
# has no /// comment. On a fresh Debian machine it first installs what it needs
# (as root, or through sudo).
#   scripts/docs.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

install_for build docs

# Configuring the engine's build (preset engine) writes what the reference is
# made from: the headers it installs, the first page, the version.
cmake --preset engine -G Ninja >/dev/null
out=$PWD/build/docs
rm -rf "$out"
mkdir -p "$out"
status=0
{
    cat docs/Doxyfile build/engine/reference_inputs.doxy
    echo "OUTPUT_DIRECTORY = $out"
    echo "WARN_LOGFILE = $out/warnings.txt"
} | doxygen - || status=$?
if [ -s "$out/warnings.txt" ] || [ "$status" -ne 0 ]; then
    echo "docs.sh: the reference has gaps ($(grep -c . "$out/warnings.txt" || true) lines of warnings):" >&2
    sed "s#$PWD/##" "$out/warnings.txt" >&2
    exit 1
fi
echo "The reference is in $out/html/index.html."
