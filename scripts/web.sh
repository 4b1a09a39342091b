#!/usr/bin/env bash
# Builds the game as a web page (preset web: Emscripten, optimised) and serves it
# on http://127.0.0.1:PORT/ (8000 unless given) until Ctrl+C, printing the
# address to open in a browser. On a fresh Debian machine it first installs what
# the build needs (through apt-get, as root or with sudo).
#   scripts/web.sh [PORT]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
port="${1:-8000}"

install_for build browser

jobs=$(($(nproc) < 2 ? $(nproc) : 2))
cmake --preset web -G Ninja >/dev/null
cmake --build --preset web -j "$jobs" --target corvane

echo "The game is served at the address below (Ctrl+C stops it):"
exec /usr/bin/python3 scripts/web-serve.py build/web --port "$port" --index corvane.html
