#!/usr/bin/env bash
# The browser build checked in a real browser: builds the game and the examples
# as web pages (preset web), corvane-replay to compare with (preset replay), the
# players' web zip (scripts/package.sh web) and the game template against the
# engine installed from the web build, then plays them in headless Chromium
# through Selenium (tests/web/web_check.py says what each check looks for). On a
# fresh Debian machine it first installs what it needs (as root, or through sudo).
#   scripts/web-check.sh [--shots DIR]    DIR: keep the pages looked at as PNG pictures
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
shots=()
if [ "${1:-}" = --shots ] && [ -n "${2:-}" ]; then
    shots=(--shots "$2")
elif (($#)); then
    echo "usage: $0 [--shots DIR]" >&2
    exit 2
fi

install_for build browser

jobs=$(($(nproc) < 2 ? $(nproc) : 2))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --preset web -G Ninja >/dev/null
cmake --build --preset web -j "$jobs"
cmake --preset replay -G Ninja >/dev/null
cmake --build --preset replay -j "$jobs" --target corvane-replay
scripts/package.sh web >/dev/null

cmake --install build/web --prefix "$work/prefix" --component development >/dev/null
cmake -S examples/template -B "$work/template" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/prefix/lib/cmake/Corvane/emscripten.cmake" \
    -DCMAKE_PREFIX_PATH="$work/prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/template" -j "$jobs"

echo "The pages' files (bytes, and gzipped at level 9):"
for file in build/web/corvane.{wasm,js,data,html}; do
    printf '  %-24s %9d %9d\n' "${file#build/web/}" "$(stat -c %s "$file")" "$(gzip -9c "$file" | wc -c)"
done

/usr/bin/python3 tests/web/web_check.py --build build/web \
    --replay build/replay/tools/corvane-replay/corvane-replay \
    --zip "$(ls build/packages/corvane-*-web.zip)" --template "$work/template" "${shots[@]}"
echo "The web pages play in Chromium."
