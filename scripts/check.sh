#!/usr/bin/env bash
# Builds Corvane and runs the whole test suite. On a fresh Debian machine it first
# installs what the build and the tests need (as root, or through sudo).
#   scripts/check.sh          the dev build (debug) under CTest
#   scripts/check.sh asan     the same under AddressSanitizer and UBSan
# It also checks that the C++ files are formatted (scripts/format.sh fixes
# them), and ends by naming the parts this machine's build left out and the
# tests that did not run. Exits with 1 when a test fails or a file drifts.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
preset="${1:-dev}"

install_for build tests format display

formatted=0
formatting=$(scripts/format.sh --check) || formatted=$?

cmake --preset "$preset" -G Ninja >/dev/null
cmake --build --preset "$preset"
tested=0
ctest --preset "$preset" -j "$(nproc)" || tested=$?

echo
skipped=build/$preset/skipped.txt
if [ -s "$skipped" ]; then
    echo "Left out of this build ($skipped):"
    sed 's/^/  /' "$skipped"
else
    echo "Nothing was left out of this build."
fi
echo "$formatting"
((tested == 0 && formatted == 0))
