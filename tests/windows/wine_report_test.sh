#!/usr/bin/env bash
# A Windows program of the engine under Wine whose start-up must fail: the report
# box comes up, and once it is answered the program ends with exit code -1 (255
# to the shell), its log holding the report's title as the last line.
#   wine_report_test.sh PROGRAM.EXE WINE_STATE_DIR WORK_DIR DEPTH AUDIO TITLE
#                       [--images IMAGES_DIR] [-- PROGRAM ARGUMENT...]
# DEPTH is the desktop's bits per pixel, AUDIO "null" for a null sound device or
# "none" for no sound device at all.
source "$(dirname "$0")/wine_session.sh"
EXE="$1"
WINE_STATE="$2"
WORK="$3"
DEPTH="$4"
AUDIO="$5"
TITLE="$6"
shift 6
IMAGES=""
if [ "${1:-}" = --images ]; then
    IMAGES="$2"
    shift 2
fi
[ "${1:-}" != -- ] || shift

wine_begin "$DEPTH" "$AUDIO"
[ -z "$IMAGES" ] || cp -r "$IMAGES" "$WORK/Images"
class="^$(basename "$EXE" | sed 's/\./\\./g')\$"

wine_launch "$EXE" "$@"
box=$(wine_find_window 30 "$class" '^Corvane$' 0 0)
note "report box $box is up"
xdotool key --window "$box" Return 2>/dev/null
rc=$(wine_wait_exit 20)
[ "$rc" = 255 ] || die "exit code $rc, expected 255 (-1)"

mapfile -t lines < <(log_lines)
[ "${lines[0]:-}" = "WindowsDX: Initialization started." ] || die "debug.txt starts '${lines[0]:-}'"
[ "${lines[-1]}" = "Corvane $TITLE" ] || die "debug.txt ends '${lines[-1]}', expected 'Corvane $TITLE'"
for line in "${lines[@]}"; do
    [ "$line" != "WindowsDX: Initialization finished OK." ] || die "debug.txt says start-up finished"
done
note "debug.txt: $(printf '[%s] ' "${lines[@]}")"
echo "PASS"
