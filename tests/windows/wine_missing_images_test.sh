#!/usr/bin/env bash
# corvane.exe under Wine in a folder without Images: one "Corvane Error" box,
# and once it is answered the program ends with exit code -1 (255 to the shell)
# before the engine started.
#   wine_missing_images_test.sh PROGRAM.EXE WINE_STATE_DIR WORK_DIR
source "$(dirname "$0")/wine_session.sh"
EXE="$1"
WINE_STATE="$2"
WORK="$3"

wine_begin 16 null
class="^$(basename "$EXE" | sed 's/\./\\./g')\$"
wine_launch "$EXE"
box=$(wine_find_window 30 "$class" '^Corvane Error$' 0 0)
sleep 1
boxes=$(xdotool search --onlyvisible --classname "$class" | wc -l)
[ "$boxes" -eq 1 ] || die "$boxes windows, expected the one box"
note "message box $box is up"
xdotool key --window "$box" Return 2>/dev/null
rc=$(wine_wait_exit 20)
[ "$rc" = 255 ] || die "exit code $rc, expected 255 (-1)"
! grep -q "Initialization started" "$WORK/debug.txt" 2>/dev/null ||
    die "the engine started: $(tr '\r' ' ' <"$WORK/debug.txt")"
echo "PASS"
