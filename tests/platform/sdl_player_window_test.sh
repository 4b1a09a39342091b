#!/usr/bin/env bash
# The player's window on a private 2400 x 1600 Xvfb display with a window
# manager, checked against the frames corvane-replay renders without a window:
#  1. corvane with no options opens a window titled "Corvane" with the alien's
#     96 x 96 icon at the largest scale that fits in 85 % of the screen (2:
#     1600 x 1000) showing the replay's first frame enlarged 2x;
#     F12 saves a PNG equal to that frame in screenshots/ of the folder it runs
#     in; F11 shows it 3x on the whole screen with black bars above and below;
#     Alt+Enter brings the window back; Escape ends it with exit code 0.
#     --scale 1 gives 800 x 500, --scale 3 2400 x 1500 (each showing the frame
#     enlarged as much), and --fullscreen starts on the whole screen. Xvfb has
#     no graphics card, so these pictures come through the window's own
#     surface and the backend's scaler.
#  2. A scripted gamepad (SDL's virtual controller, scripted_pad): the D-pad
#     walks the alien as the right arrow does; the stick moves nothing inside its
#     dead zone; pulling the pad out while its stick is pushed stops the walk;
#     Start on a pad plugged in again ends the game with exit code 0.
#  3. Clicks at scaled positions, in the window and in the full-screen view,
#     reach the engine in its own pixels (mouse_probe).
#  4. Without Images/ in the folder it starts in or its own, the program shows
#     one box naming both folders and ends with exit code -1 (255); without a
#     display the text goes to standard error once.
#   sdl_player_window_test.sh CORVANE WORKDIR REPLAY COMPARE SCRIPTED_PAD MOUSE_PROBE
set -euo pipefail

mapfile -t paths < <(realpath -m "$@")
corvane=${paths[0]} workdir=${paths[1]} replay=${paths[2]} compare=${paths[3]}
scripted_pad=${paths[4]} mouse_probe=${paths[5]}

source "$(dirname "$0")/x_session.sh"
failure_logs=("$workdir/run/stdout.txt" "$workdir/run/stderr.txt")

rm -rf "$workdir"
mkdir -p "$workdir/run" "$workdir/empty" "$workdir/bare"
images=$(dirname "$corvane")/Images
[ -d "$images" ] || fail "no Images/ beside $corvane"
replay_walk_frames "$replay" "$images" 60
first_png="$workdir/frames/b/frame_0001.png"
convert "$start_frame" -sample 200% "$workdir/scale2.ppm"
convert "$start_frame" -sample 300% "$workdir/scale3.ppm"
convert -size 2400x1600 xc:black \( "$start_frame" -sample 300% \) -geometry +0+50 -composite \
    -depth 8 "$workdir/fullscreen.ppm"

start_xvfb 2400x1600
# The game runs in its own folder, a copy of it beside its pictures, and saves
# its screenshots there.
cp "$corvane" "$workdir/run/corvane"
ln -s "$images" "$workdir/run/Images"
cd "$workdir/run"

expect_size() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "${WIDTH}x${HEIGHT}" = "$1" ] || fail "the window is ${WIDTH}x${HEIGHT}, expected $1"
}
quit_with_escape() {
    xdotool windowfocus --sync "$window" key Escape
    wait_exit 10
    [ "$exit_code" -eq 0 ] || fail "$1 ended with exit code $exit_code"
}

# Before the window manager comes, which would frame the window and push a
# window as wide as the screen past its edge.
launch ./corvane --scale 3
expect_size 2400x1500
expect_picture "$window" "$workdir/scale3-shot.ppm" "$workdir/scale3.ppm"
quit_with_escape "corvane --scale 3"
start_window_manager

launch ./corvane
expect_size 1600x1000
title=$(xprop -id "$window" _NET_WM_NAME)
[ "$title" = '_NET_WM_NAME(UTF8_STRING) = "Corvane"' ] || fail "the window's title: $title"
icon=$(xprop -id "$window" -notype 32c _NET_WM_ICON)
[[ "$icon" == "_NET_WM_ICON = 96, 96, "* ]] || fail "the window's icon: ${icon:0:80}"
expect_picture "$window" "$workdir/scale2-shot.ppm" "$workdir/scale2.ppm"
xdotool key F12
for _ in $(seq 50); do grep -q '^screenshot saved: ' stdout.txt && break; sleep 0.1; done
saved=$(sed -n 's/^screenshot saved: //p' stdout.txt)
[ "$(dirname "$saved")" = "$workdir/run/screenshots" ] || fail "screenshot saved as '$saved'"
cmp -s <(convert "$saved" rgb:-) <(convert "$first_png" rgb:-) ||
    fail "the screenshot differs from the replay's frame"
xdotool key F11
expect_picture root "$workdir/fullscreen-shot.ppm" "$workdir/fullscreen.ppm"
xdotool windowfocus --sync "$window" key alt+Return
expect_picture "$window" "$workdir/back-shot.ppm" "$workdir/scale2.ppm"
expect_size 1600x1000
quit_with_escape "corvane"

launch ./corvane --scale 1
expect_size 800x500
expect_picture "$window" "$workdir/scale1-shot.ppm" "$start_frame"
quit_with_escape "corvane --scale 1"
launch ./corvane --fullscreen
expect_picture root "$workdir/fullscreen-start-shot.ppm" "$workdir/fullscreen.ppm"
quit_with_escape "corvane --fullscreen"
echo "window, scales, full screen and screenshot: passed"

# The pad's script goes through a pipe that stays open until the test ends.
mkfifo pad.in
exec 3<>pad.in
pad() {
    local before
    before=$(grep -c '' stdout.txt || true)
    echo "$*" >&3
    for _ in $(seq 50); do
        [ "$(grep -c '' stdout.txt || true)" -gt "$before" ] && break
        sleep 0.1
    done
    tail -n 1 stdout.txt | grep -q '^done$' || fail "the pad refused \"$*\""
}
launch "$scripted_pad" <&3
pad plug
expect_picture "$window" "$workdir/pad-start-shot.ppm" "$start_frame"
pad button dpright 1
sleep 0.2
pad button dpright 0
expect_picture "$window" "$workdir/pad-walk-shot.ppm" "${walk_frames[@]}"
pad stick 6000 -6000
sleep 0.3
shoot "$window" "$workdir/pad-dead-zone-shot.ppm"
cmp -s "$workdir/pad-walk-shot.ppm" "$workdir/pad-dead-zone-shot.ppm" ||
    fail "the stick moved the alien inside its dead zone"
pad stick 32767 0
sleep 0.2
pad unplug
shoot "$window" "$workdir/pad-unplugged-shot.ppm"
cmp -s "$workdir/pad-walk-shot.ppm" "$workdir/pad-unplugged-shot.ppm" &&
    fail "the stick did not move the alien"
pad plug
pad button start 1
wait_exit 10
[ "$exit_code" -eq 0 ] || fail "Start ended the game with exit code $exit_code"
echo "gamepad: passed"

click() {
    xdotool mousemove --window "$window" "$1" "$2" mousedown "$3"
    sleep 0.3
    xdotool mouseup "$3"
    for _ in $(seq 50); do grep -qx "click $4" stdout.txt && return 0; sleep 0.1; done
    fail "a click at ($1, $2) reached the engine as '$(tail -n 1 stdout.txt)', expected '$4'"
}
launch "$mouse_probe"
expect_size 1600x1000
# A press is seen only once the probe's frames run, which a loaded machine may delay.
for _ in $(seq 600); do grep -qx running stdout.txt && break; sleep 0.1; done
grep -qx running stdout.txt || fail "the mouse probe's frames never ran"
click 201 101 1 "100 50 1"
xdotool key F11
sleep 1
click 601 351 3 "200 100 2"
echo "mouse: passed"

# A copy of the program with no pictures beside it, started in an empty folder.
cp "$corvane" "$workdir/bare/corvane"
corvane=$workdir/bare/corvane
cd "$workdir/empty"
"$corvane" >stdout.txt 2>stderr.txt &
program_pid=$!
session_pids+=("$program_pid")
# SDL names its message box in UTF-8 only, which xdotool does not match.
boxes() { xwininfo -root -tree | awk '/"Corvane Error"/ { print $1 }'; }
for _ in $(seq 100); do [ -n "$(boxes)" ] && break; sleep 0.1; done
sleep 1
[ "$(boxes | wc -l)" -eq 1 ] || fail "$(boxes | wc -l) message boxes without Images/, expected 1"
box=$(boxes)
xdotool windowfocus --sync "$box" key Return
wait_exit 10
[ "$exit_code" -eq 255 ] || fail "without Images/ the exit code is $exit_code, expected 255"
status=0
env -u DISPLAY "$corvane" >stdout.txt 2>stderr.txt || status=$?
[ "$status" -eq 255 ] || fail "without Images/ or a display the exit code is $status"
[ "$(grep -c '^Corvane Error: ' stderr.txt)" -eq 1 ] && grep -qx "$workdir/empty/Images" stderr.txt &&
    grep -qx "$workdir/bare/Images" stderr.txt ||
    fail "without a display the message is: $(cat stderr.txt)"
echo "missing Images folder: passed"
echo "4 passed, 0 failed"
