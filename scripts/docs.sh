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
# Doxygen checks a header's free declarations only when the header itself is
# documented, so each one must say /// @file.
undocumented=$(grep -o '/[^ ]*\.h' build/engine/reference_inputs.doxy | xargs grep -L '^/// @file' || true)
{
    cat docs/Doxyfile build/engine/reference_inputs.doxy
    echo "OUTPUT_DIRECTORY = $out"
    echo "WARN_LOGFILE = $out/warnings.txt"
} | doxygen - || status=$?
for header in $undocumented; do
    echo "${header#"$PWD"/}:1: error: the header has no /// @file comment" >>"$out/warnings.txt"
done
if [ -s "$out/warnings.txt" ] || [ "$status" -ne 0 ]; then
    echo "docs.sh: the reference has gaps ($(grep -c . "$out/warnings.txt" || true) lines of warnings):" >&2
    sed "s#$PWD/##" "$out/warnings.txt" >&2
    exit 1
fi
echo "The reference is in $out/html/index.html."
