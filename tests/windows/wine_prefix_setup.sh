#!/usr/bin/env bash
# Makes the Wine prefix that the Wine tests share afresh; runs first in every
# test run, so no prefix from an earlier run (or an earlier Wine) is used.
#   wine_prefix_setup.sh WINE_STATE_DIR
source "$(dirname "$0")/wine_session.sh"
WINE_STATE=$(realpath -m "$1")
WORK="$WINE_STATE/setup"
rm -rf "$WINE_STATE"
mkdir -p "$WINE_STATE"
# wine_begin makes the prefix it finds missing, on its own X server.
wine_begin 16
[ -f "$WINEPREFIX/system.reg" ] || die "no prefix was made"
echo "PASS"
