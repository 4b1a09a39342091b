#!/usr/bin/env bash
# engine_probe.exe under Wine on a 1024 x 768 16-bit desktop: start-up log, the
# presented picture (boxes, ramps, the odd last column, GDI text), the right
# arrow key, and a clean end on Alt+F4 (WM_CLOSE) with exit code 0. Windowed, the
# picture also follows the window when it moves, and shows its visible part
# while the window is partly off the screen; with "fullscreen" the probe takes
# the whole screen in the desktop's own mode and presents by flipping.
#   wine_probe_test.sh ENGINE_PROBE.EXE WINE_STATE_DIR WORK_DIR [fullscreen]
source "$(dirname "$0")/wine_session.sh"
EXE="$1"
WINE_STATE="$2"
WORK="$3"
MODE="${4:-windowed}"

# The colour the screen shows for FillBox(red, green, blue): FillBox packs 5:5:5
# whatever the surface's masks, so a 5:6:5 screen reads the word as 5:6:5.
shown() {
    local word=$((($1 >> 3) << 10 | ($2 >> 3) << 5 | ($3 >> 3)))
    echo "rgb($(((word >> 11) << 3)),$((((word >> 5) & 63) << 2)),$(((word & 31) << 3)))"
}

# expected_picture HELD OUT.png: what engine_probe.cpp draws.
expected_picture() {
    local held="$1" draw=()
    box() { draw+=(-fill "$(shown "$5" "$6" "$7")" -draw "rectangle $1,$2 $3,$4"); }
    box 8 8 103 95 255 0 0
    box 112 8 207 95 0 255 0
    box 216 8 311 95 0 0 255
    for ((step = 0; step < 32; ++step)); do
        local left=$((8 + step * 9)) level=$((step * 8))
        box "$left" 104 $((left + 8)) 127 "$level" 0 0
        box "$left" 128 $((left + 8)) 151 0 "$level" 0
        box "$left" 152 $((left + 8)) 175 0 0 "$level"
    done
    if [ "$held" = 1 ]; then box 8 180 103 195 255 255 0; else box 8 180 103 195 64 64 64; fi
    box 320 0 320 199 255 128 0
    box 0 199 320 199 255 128 0
    convert -size 321x200 xc:black +antialias "${draw[@]}" -background black -extent "$size" "$2"
}

if [ "$MODE" = fullscreen ]; then
    size=1024x768
    arguments=(fullscreen 1024 768)
    back_buffer="is a valid flip \(back\) buffer"
    # Full screen runs on Wine's OpenGL renderer, the one a Wine user gets:
    # Wine 8's software (no3d) one, after the device reset that every
    # exclusive-mode primary surface causes, frees the memory behind the
    # swapchain buffer's DC while the DC still reads it, and Flip then faults
    # at random.
    export WINE_D3D_CONFIG="renderer=gl"
else
    size=321x200
    arguments=()
    back_buffer="NOT A FLIP \(BACK\) BUFFER"
fi

wine_begin 16
expected_picture 0 "$WORK/expected_idle.png"
expected_picture 1 "$WORK/expected_held.png"

# The text's glyphs are the system font's: the test only looks for them in
# their strip and compares the rest of the picture.
text_strip="112,176 319,198"
bright_in_text_strip() {
    convert "$1" -crop 208x23+112+176 +repage -colorspace Gray -threshold 50% \
        -format '%[fx:round(mean*w*h)]' info:
}

wine_launch "$EXE" "${arguments[@]}"
window=$(wine_find_window 30 '^engine_probe\.exe$' '^$' "${size%x*}" "${size#*x}")
note "window $window: client area $size"

wine_wait_for_picture 15 "$window" "$WORK/expected_idle.png" shot_idle "$text_strip"
note "the presented frame matches, pixel for pixel"
glyph_pixels=$(bright_in_text_strip "$WORK/shot_idle.png")
[ "$glyph_pixels" -ge 40 ] || die "only $glyph_pixels text pixels in the text strip"
note "DrawText put $glyph_pixels white pixels in its strip"

xdotool keydown --window "$window" Right 2>/dev/null
wine_wait_for_picture 10 "$window" "$WORK/expected_held.png" shot_held "$text_strip"
xdotool keyup --window "$window" Right 2>/dev/null
wine_wait_for_picture 10 "$window" "$WORK/expected_idle.png" shot_released "$text_strip"
note "the right arrow key lights the marker while held"

# Partly off the screen, past the left and top edges or the right and bottom
# ones, the window shows its visible part and keeps showing new frames; whole
# again, it shows the whole picture at its new place.
if [ "$MODE" = windowed ]; then
    xdotool windowmove "$window" -100 -40 2>/dev/null
    wine_wait_for_picture 10 "$window" "$WORK/expected_idle.png" shot_off_left "$text_strip"
    xdotool keydown --window "$window" Right 2>/dev/null
    wine_wait_for_picture 10 "$window" "$WORK/expected_held.png" shot_off_left_held "$text_strip"
    xdotool windowmove "$window" 850 600 2>/dev/null
    wine_wait_for_picture 10 "$window" "$WORK/expected_held.png" shot_off_right "$text_strip"
    xdotool keyup --window "$window" Right 2>/dev/null
    wine_wait_for_picture 10 "$window" "$WORK/expected_idle.png" shot_off_right_idle "$text_strip"
    xdotool windowmove "$window" 40 60 2>/dev/null
    wine_wait_for_picture 10 "$window" "$WORK/expected_idle.png" shot_moved "$text_strip"
    note "partly off the screen at either corner the window shows its visible part, walking"
fi

xdotool key --window "$window" alt+F4 2>/dev/null
rc=$(wine_wait_exit 20)
[ "$rc" = 0 ] || die "exit code $rc after Alt+F4, expected 0"
note "Alt+F4 closed the window; exit code 0"

# The whole log: start-up and nothing else (a failed lock or clean-up would add
# lines). Where the surfaces live is the driver's choice.
mapfile -t lines < <(log_lines)
expected=(
    "WindowsDX: Initialization started."
    "WinDX:: Front Buffer (is in video memory|NOT IN VIDEO MEMORY)\."
    "WinDX:: Back Buffer (is in video memory|NOT IN VIDEO MEMORY)\."
    "WinDX:: Back Buffer $back_buffer\."
    "WindowsDX: Initialization finished OK."
)
[ "${#lines[@]}" -eq "${#expected[@]}" ] ||
    die "debug.txt has ${#lines[@]} lines, expected ${#expected[@]}: $(printf '[%s] ' "${lines[@]}")"
for i in "${!expected[@]}"; do
    [[ "${lines[$i]}" =~ ^${expected[$i]}$ ]] || die "debug.txt line $((i + 1)): '${lines[$i]}'"
done
note "debug.txt: $(printf '[%s] ' "${lines[@]}")"
echo "PASS"
