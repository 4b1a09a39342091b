#!/usr/bin/env bash
# Plays every example in a real window on a private Xvfb display (24-bit, no
# sound card: SDL's silent driver), gives it some input, photographs the screen
# and closes it with Escape, which must end it with exit code 0.
#   scripts/examples-window.sh [BUILD_DIR] [OUT_DIR]
# BUILD_DIR defaults to build/dev, OUT_DIR to /tmp/corvane-examples-window; the
# pictures are OUT_DIR/<example>.png. On a fresh Debian machine it first
# installs the X server and tools it plays them with (as root, or through sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
install_for display
build=${1:-build/dev}
out=${2:-/tmp/corvane-examples-window}
mkdir -p "$out"

# Input for each example: xdotool commands separated by ';', run once the
# window has the focus; WINDOW stands for the window's id.
declare -A input=(
    [sprites_blending]="keydown Right; sleep 0.6; keyup Right; keydown a; sleep 0.5; keyup a"
    [text_typing]="type --delay 60 hello,; key space; type --delay 60 window!; key Return;
        type --delay 60 Corvane"
    [input_mouse]="mousemove --window WINDOW 150 150; mousedown 1; mousemove --window WINDOW 300 200;
        sleep 0.2; mousemove --window WINDOW 450 260; sleep 0.2; mouseup 1"
    [sound_panning]="mousemove --window WINDOW 600 120; click 1; sleep 0.3;
        mousemove --window WINDOW 200 400; click 3"
    [camera_wireframe]="keydown Left; sleep 0.5; keyup Left; keydown Up; sleep 0.3; keyup Up"
    [frame_screenshot]="sleep 0.5; key s; sleep 0.5"
    [snake]="key Up; sleep 0.8; key Left; sleep 0.3"
)
examples=(sprites_blending text_typing input_mouse sound_panning camera_wireframe frame_screenshot
    snake)

xvfb_pid=""
cleanup() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$fifo" >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$number" SDL_AUDIODRIVER=dummy
unset WAYLAND_DISPLAY

failures=0
for name in "${examples[@]}"; do
    program=$build/examples/$name/$name
    if [ ! -x "$program" ]; then
        echo "$name: not built ($program)"
        failures=$((failures + 1))
        continue
    fi
    (cd "$(dirname "$program")" && exec "./$name") >"$out/$name.log" 2>&1 &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
    if [ -z "$window" ]; then
        echo "$name: no window appeared"
        kill "$pid" 2>/dev/null || true
        failures=$((failures + 1))
        continue
    fi
    xdotool windowfocus --sync "$window"
    sleep 0.5
    IFS=';' read -ra commands <<<"${input[$name]//$'\n'/}"
    for command in "${commands[@]}"; do
        # shellcheck disable=SC2086 # each command is a list of xdotool words
        xdotool ${command//WINDOW/$window}
    done
    sleep 0.5
    import -window root "$out/$name.png"
    xdotool key --window "$window" Escape
    status=0
    timeout 10 tail --pid "$pid" -f /dev/null || { kill "$pid"; status=timeout; }
    [ "$status" = timeout ] || wait "$pid" || status=$?
    echo "$name: $out/$name.png, exit code $status"
    [ "$status" = 0 ] || failures=$((failures + 1))
done
exit $((failures > 0))
