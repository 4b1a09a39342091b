#!/usr/bin/env bash
# engine_probe.exe game under Wine, on a machine with no sound device at all: a
# game's own calls on the real Win32, GDI and DirectDraw. It asks for no sound,
# so it starts; its window's title is its name, "Probe"; the size MeasureText
# logs for its line of text (the system's font, through GetTextExtentPoint32A)
# holds every glyph pixel DrawText puts on the screen; Escape ends it through
# EndGame with exit code 0.
#   wine_game_calls_test.sh ENGINE_PROBE.EXE WINE_STATE_DIR WORK_DIR
source "$(dirname "$0")/wine_session.sh"
EXE="$1"
WINE_STATE="$2"
WORK="$3"

wine_begin 16 none
wine_launch "$EXE" game
window=$(wine_find_window 30 '^engine_probe\.exe$' '^Probe$' 321 200)
note "window $window is titled Probe: started without a sound device"

# The size is logged on the game's first frame, which may come a while after
# the window appears on a busy machine.
measured=""
for ((tries = 0; tries < 300; ++tries)); do
    mapfile -t lines < <(log_lines)
    for line in "${lines[@]}"; do
        [[ "$line" =~ ^Probe:\ text\ ([0-9]+)x([0-9]+)$ ]] && measured="$line" && break
    done
    [ -n "$measured" ] && break
    sleep 0.1
done
[ -n "$measured" ] || die "debug.txt holds no measured size after 30 s: $(printf '[%s] ' "${lines[@]}")"
width=${BASH_REMATCH[1]}
height=${BASH_REMATCH[2]}
# 21 characters of a proportional font some 6 to 12 pixels wide and 10 to 24 high.
((width >= 21 * 4 && width <= 21 * 12 && height >= 10 && height <= 24)) ||
    die "measured ${width}x$height for 21 characters"
note "MeasureText: ${width}x$height"

# The text is drawn at (120, 180): its glyph pixels lie in the measured box,
# and reach into its last eighth (the box is not merely large).
sleep 1
wine_client_shot "$window" "$WORK/shot.png"
read -r left top right bottom < <(convert "$WORK/shot.png" -crop 201x20+120+176 +repage \
    -colorspace Gray -threshold 90% -format '%@' info: |
    awk -F'[x+]' '{print $3 + 120, $4 + 176, $3 + 120 + $1 - 1, $4 + 176 + $2 - 1}')
note "glyph pixels from ($left, $top) to ($right, $bottom)"
((left >= 120 && top >= 180 && right < 120 + width && bottom < 180 + height)) ||
    die "glyphs outside the measured ${width}x$height box at (120, 180)"
((right >= 120 + width - width / 8)) || die "the glyphs end at $right, far inside the box"

xdotool key --window "$window" Escape 2>/dev/null
rc=$(wine_wait_exit 20)
[ "$rc" = 0 ] || die "exit code $rc after Escape, expected 0"
note "Escape ended the game (EndGame); exit code 0"
echo "PASS"
