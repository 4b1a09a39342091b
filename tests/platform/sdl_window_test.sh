#!/usr/bin/env bash
# Plays the game in a real window on a private Xvfb display and checks what the
# window shows against the frames corvane-replay renders without a window.
#   sdl_window_test.sh CORVANE WORKDIR REPLAY COMPARE CLOSE
# CORVANE is the program (with Images/ beside it), REPLAY corvane-replay, COMPARE
# frame_compare, CLOSE x_close_request.
#  1. Before any key, the window shows the replay's first frame.
#  2. After the right arrow was held for a moment, it shows the replay's frame
#     for the right arrow held K frames, for some K of at least 1. The walk
#     animation steps every 30 frames, so where the hold fell in that cycle
#     matters: both phases the replay can give are tried for every K.
#  3. Held for three seconds, the right arrow moves the view a pixel a frame at
#     a steady rate near the display's refresh, the game using well under a
#     core; with another window focused it shows nothing and uses well under a
#     core too.
#  4. The close request ends the program with exit code 0, and debug.txt then
#     holds the engine's start-up lines.
set -euo pipefail
source "$(dirname "$0")/../support/play_checks.sh"

program=$1 workdir=$2 replay=$3 compare=$4 close_request=$5
max_frames=90

fail() {
    echo "FAIL: $*" >&2
    for f in "$workdir/game/stderr.txt" "$workdir/game/debug.txt"; do
        [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }
    done
    exit 1
}

rm -rf "$workdir"
mkdir -p "$workdir/game" "$workdir/replay" "$workdir/frames"
images=$(dirname "$program")/Images
[ -d "$images" ] || fail "no Images/ beside $program"
ln -s "$images" "$workdir/game/Images"
ln -s "$images" "$workdir/replay/Images"

# The reference frames: frame K of "right:N" is the alien K pixels on with no
# walk step yet; frame 29 + K of "none:29,right:N" has the first step inside
# the hold. Frame 1 of the second run is the picture before any key.
frames_a=$(seq -s, 1 "$max_frames")
frames_b=1,$(seq -s, 30 $((29 + max_frames)))
"$replay" --dir "$workdir/replay" --keys "right:$max_frames" --png-at "$frames_a" \
    --out "$workdir/frames/a" >/dev/null || fail "corvane-replay failed"
"$replay" --dir "$workdir/replay" --keys "none:29,right:$max_frames" --png-at "$frames_b" \
    --out "$workdir/frames/b" >/dev/null || fail "corvane-replay failed"
mogrify -format ppm "$workdir"/frames/a/*.png "$workdir"/frames/b/*.png
candidates=()
for k in $(seq 1 "$max_frames"); do
    candidates+=("$workdir/frames/a/frame_$(printf %04d "$k").ppm"
                 "$workdir/frames/b/frame_$(printf %04d $((29 + k))).ppm")
done

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
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >"$workdir/xvfb.log" 2>&1 &
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

cd "$workdir/game"
"$program" >stdout.txt 2>stderr.txt &
program_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$program_pid" 2>/dev/null |
    head -n 1) || fail "no window appeared"
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
start="$workdir/frames/b/frame_0001.ppm"
shown=""
for _ in $(seq 30); do
    shoot "$workdir/shot-start.ppm"
    if "$compare" "$workdir/shot-start.ppm" "$start" >"$workdir/compare-start.txt"; then
        shown=yes
        break
    fi
    sleep 0.3
done
[ -n "$shown" ] || fail "the first picture is not the replay's: $(cat "$workdir/compare-start.txt")"

xdotool keydown Right
sleep 0.2
xdotool keyup Right
shoot "$workdir/shot-moved.ppm"
"$compare" "$workdir/shot-moved.ppm" "${candidates[@]}" >"$workdir/compare-moved.txt" ||
    fail "the picture after the right arrow is no replay frame: $(cat "$workdir/compare-moved.txt")"
echo "after the right arrow: $(cat "$workdir/compare-moved.txt")"

# Three seconds of walking: the frames that ran are the pixels the view moved.
span_begin "$program_pid"
xdotool keydown Right
sleep 3
xdotool keyup Right
span_end "$program_pid"
shoot "$workdir/shot-walked.ppm"
walked=$(frames_walked "$workdir/shot-moved.ppm" "$workdir/shot-walked.ppm") ||
    fail "the picture after three seconds of walking is no walk from before"
rate_check "walking for three seconds" "$walked" "$SPAN_SECONDS" "$SPAN_TICKS" ||
    fail "the frames are not paced to the display"

# Another window takes the focus (xlogo comes with xwd): the game shows nothing
# and waits out its frames' time.
xlogo -geometry 100x100+900+600 &
other_pid=$!
other=$(timeout 30 xdotool search --sync --onlyvisible --class xlogo | head -n 1) ||
    fail "xlogo's window did not appear"
xdotool windowfocus --sync "$other"
sleep 1
waiting_check "with another window focused" "$program_pid" ||
    fail "the game without the focus does not wait"
stop "$other_pid"
xdotool windowfocus --sync "$window"

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

grep -q 'WindowsDX: Initialization started.' debug.txt || fail "debug.txt lacks the start line"
grep -q 'WindowsDX: Initialization finished OK.' debug.txt || fail "debug.txt lacks the finished line"
echo "1 passed, 0 failed"
