#!/usr/bin/env bash
# Plays a program in a real window on a private Xvfb display and checks what the
# window shows against pictures rendered without a window.
#   sdl_window_test.sh PROGRAM WORKDIR REFERENCE COMPARE CLOSE [--log]
# PROGRAM runs in WORKDIR. REFERENCE is a command (split on spaces) that, given
# "K FILE", writes to FILE the picture expected after the right arrow was held
# for K frames, as a binary PPM. COMPARE is frame_compare, CLOSE x_close_request.
#  1. Before any key, the window shows picture 0.
#  2. After the right arrow was held for a moment, it shows picture K, for some
#     K of at least 1; a program that prints "position N" when it ends must
#     print N = K.
#  3. The close request ends the program with exit code 0; with --log,
#     WORKDIR/debug.txt then holds the engine's start-up lines.
set -euo pipefail

program=$1 workdir=$2 reference=$3 compare=$4 close_request=$5 check_log=${6:-}
max_frames=400

fail() {
    echo "FAIL: $*" >&2
    for f in "$workdir/stderr.txt" "$workdir/stdout.txt"; do
        [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }
    done
    exit 1
}

mkdir -p "$workdir"
cd "$workdir"
rm -f shot*.ppm expected*.ppm compare*.txt stdout.txt stderr.txt debug.txt

xvfb_pid=""
program_pid=""
stop() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 20); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$1" 2>/dev/null || true
}
cleanup() {
    [ -z "$program_pid" ] || stop "$program_pid"
    [ -z "$xvfb_pid" ] || stop "$xvfb_pid"
}
trap cleanup EXIT

# A display number nobody uses; another test may take it first, so retry.
for number in $(seq 91 160); do
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >xvfb.log 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${number}" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X${number}" ]; then
        export DISPLAY=":$number"
        break
    fi
    xvfb_pid=""
done
[ -n "$xvfb_pid" ] || fail "no Xvfb display could be started"
unset WAYLAND_DISPLAY
# Xvfb has no sound card; SDL's silent driver stands in for one.
export SDL_AUDIODRIVER=dummy
# In a sanitizer build, no leak check here: the system's D-Bus and Mesa OpenGL
# libraries keep memory until the process ends, and only a slow stack walk could
# tell it apart, which deadlocks inside Mesa's code generator. The backend's own
# code is leak-checked by its tests on SDL's dummy driver.
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

"$program" >stdout.txt 2>stderr.txt &
program_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$program_pid" 2>/dev/null | head -n 1) ||
    fail "no window appeared"
[ -n "$window" ] || fail "no window appeared"
# There is no window manager to give the new window the keyboard focus.
xdotool windowfocus --sync "$window"

# Takes screenshots until two in a row agree, so a frame still being drawn is
# never compared.
shoot() {
    local out=$1 previous=""
    for i in $(seq 60); do
        xwd -id "$window" -silent | convert xwd:- "ppm:$out.$i"
        if [ -n "$previous" ] && cmp -s "$previous" "$out.$i"; then
            mv "$out.$i" "$out"
            rm -f "$out".*
            return 0
        fi
        previous="$out.$i"
        sleep 0.1
    done
    fail "the window never showed a still picture"
}

# The window is black until the first frame arrives, which may take a while.
$reference 0 expected-start.ppm || fail "no reference picture for frame 0"
shown=""
for _ in $(seq 30); do
    shoot shot-start.ppm
    if "$compare" shot-start.ppm expected-start.ppm >compare-start.txt; then
        shown=yes
        break
    fi
    sleep 0.3
done
[ -n "$shown" ] || fail "the first picture differs from frame 0: $(cat compare-start.txt)"

xdotool keydown Right
sleep 0.2
xdotool keyup Right
shoot shot-moved.ppm
held=""
for k in $(seq 1 "$max_frames"); do
    $reference "$k" expected-moved.ppm || fail "no reference picture for frame $k"
    if "$compare" shot-moved.ppm expected-moved.ppm >/dev/null; then
        held=$k
        break
    fi
done
[ -n "$held" ] || fail "the picture after the key matches no frame from 1 to $max_frames"
echo "the window showed the picture of frame $held"

"$close_request" "$window" || fail "the close request could not be sent"
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after the close request"
status=0
wait "$program_pid" || status=$?
program_pid=""
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"

if grep -q '^position ' stdout.txt; then
    printed=$(sed -n 's/^position //p' stdout.txt)
    [ "$printed" = "$held" ] || fail "the program says position $printed, the picture shows $held"
fi
if [ "$check_log" = "--log" ]; then
    grep -qx 'WindowsDX: Initialization started.' debug.txt || fail "debug.txt lacks the start line"
    grep -qx 'WindowsDX: Initialization finished OK.' debug.txt ||
        fail "debug.txt lacks the finished line"
fi
echo "1 passed, 0 failed"
