#!/usr/bin/env bash
# Plays the game in a real window on a private Xvfb display and checks what the
# window shows against the frames corvane-replay renders without a window.
#   sdl_window_test.sh CORVANE WORKDIR REPLAY COMPARE CLOSE
# CORVANE is the program (with Images/ beside it), REPLAY corvane-replay, COMPARE
# frame_compare, CLOSE x_close_request.
#  1. With no sound device (SDL_AUDIODRIVER names a driver that is not there),
#     the game starts on a silent one and says so in one line on standard
#     error; before any key, the window shows the replay's first frame.
#  2. After the right arrow was held for a moment, it shows the replay's frame
#     for the right arrow held K frames, for some K of at least 1. The walk
#     animation steps every 30 frames, so where the hold fell in that cycle
#     matters: both phases the replay can give are tried for every K.
#  3. Held for three seconds, the right arrow moves the view a pixel a frame at
#     a steady rate near the game's 60 frames a second, the game using under
#     40 % of a core; with another window focused it shows nothing and uses
#     well under a core too.
#  4. The close request ends the program with exit code 0, and debug.txt then
#     holds the engine's start-up lines.
set -euo pipefail
source "$(dirname "$0")/../support/play_checks.sh"

program=$1 workdir=$2 replay=$3 compare=$4 close_request=$5
max_frames=90

source "$(dirname "$0")/x_session.sh"
failure_logs=("$workdir/game/stderr.txt" "$workdir/game/debug.txt")

rm -rf "$workdir"
mkdir -p "$workdir/game"
images=$(dirname "$program")/Images
[ -d "$images" ] || fail "no Images/ beside $program"
ln -s "$images" "$workdir/game/Images"
replay_walk_frames "$replay" "$images" "$max_frames"

start_xvfb 1024x768

cd "$workdir/game"
# There is no window manager to give the new window the keyboard focus: launch
# gives it.
launch env SDL_AUDIODRIVER=no-such-driver "$program"
expect_picture "$window" "$workdir/shot-start.ppm" "$start_frame"
[ "$(wc -l <stderr.txt)" -eq 1 ] &&
    grep -q '^Corvane: no sound device was found, so the game is silent (' stderr.txt ||
    fail "without a sound device standard error says: $(cat stderr.txt)"

xdotool keydown Right
sleep 0.2
xdotool keyup Right
expect_picture "$window" "$workdir/shot-moved.ppm" "${walk_frames[@]}"
echo "after the right arrow: $(cat "$workdir/shot-moved.ppm.txt")"

# Three seconds of walking: the frames that ran are the pixels the view moved.
# Xvfb has no graphics card, so the pictures go through the window's own
# surface: sixty a second take a few per cent of a core in an optimised build
# and about a quarter in a sanitizer build (Mesa's software OpenGL took some
# 20 % optimised); a spinning game takes all it can. A machine busy
# enough to starve the window gets a second walk; a pacing fault fails both.
before="$workdir/shot-moved.ppm"
for attempt in 1 2; do
    span_begin "$program_pid"
    xdotool keydown Right
    sleep 3
    xdotool keyup Right
    span_end "$program_pid"
    shoot "$window" "$workdir/shot-walked$attempt.ppm"
    walked=$(frames_walked "$before" "$workdir/shot-walked$attempt.ppm") ||
        fail "the picture after three seconds of walking is no walk from before"
    rate_check "walking for three seconds" "$walked" "$SPAN_SECONDS" "$SPAN_TICKS" 40 && break
    [ "$attempt" = 2 ] && fail "the frames are not paced to the display"
    before="$workdir/shot-walked$attempt.ppm"
done

# Another window takes the focus (xlogo comes with xwd): the game shows nothing
# and waits out its frames' time.
xlogo -geometry 100x100+900+600 &
other_pid=$!
session_pids+=("$other_pid")
other=""
for _ in $(seq 600); do
    other=$(xdotool search --onlyvisible --class xlogo 2>/dev/null | head -n 1) || other=""
    [ -n "$other" ] && break
    sleep 0.1
done
[ -n "$other" ] || fail "xlogo's window did not appear"
xdotool windowfocus --sync "$other"
sleep 1
waiting_check "with another window focused" "$program_pid" ||
    fail "the game without the focus does not wait"
stop "$other_pid"
xdotool windowfocus --sync "$window"

"$close_request" "$window" || fail "the close request could not be sent"
wait_exit 10
[ "$exit_code" -eq 0 ] || fail "the program ended with exit code $exit_code"

grep -q 'WindowsDX: Initialization started.' debug.txt || fail "debug.txt lacks the start line"
grep -q 'WindowsDX: Initialization finished OK.' debug.txt || fail "debug.txt lacks the finished line"
echo "1 passed, 0 failed"
