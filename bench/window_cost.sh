#!/usr/bin/env bash
# What the game's window costs: corvane on a private Xvfb display (no graphics
# card, so Mesa draws any OpenGL in software), the right arrow held for SECONDS
# at each whole-number scale; prints the frames a second (the view moves a
# pixel a frame) and the share of a core the program used, all its threads
# together, and beside it the X server's share (it copies the pictures onto
# its screen), with the machine's load average, since other work on the
# machine takes from the same cores.
#   bench/window_cost.sh CORVANE [SECONDS [SCALE...]]
# CORVANE is the program with Images/ beside it, in a build tree that holds
# corvane-replay and frame_compare too (build/release). Defaults: 3 seconds, scales 1 2 3.
set -euo pipefail
corvane=$(realpath "$1")
seconds=${2:-3}
shift $(($# < 2 ? $# : 2))
scales=("$@")
[ ${#scales[@]} -gt 0 ] || scales=(1 2 3)
tests=$(cd "$(dirname "$0")/../tests" && pwd)
build=$(dirname "$(dirname "$(dirname "$corvane")")")
replay=$build/tools/corvane-replay/corvane-replay
compare=$build/tests/platform/frame_compare
for tool in "$replay" "$compare"; do
    [ -x "$tool" ] || { echo "no $tool: build corvane-replay and frame_compare" >&2; exit 1; }
done

workdir=$(mktemp -d)
source "$tests/platform/x_session.sh"
source "$tests/support/play_checks.sh"
trap 'stop_session; [ -n "${KEEP:-}" ] || rm -rf "$workdir"' EXIT
failure_logs=("$workdir/game/stderr.txt")

images=$(dirname "$corvane")/Images
mkdir -p "$workdir/game"
ln -s "$images" "$workdir/game/Images"
replay_walk_frames "$replay" "$images" 1
start_xvfb 2560x1600
xvfb_pid=${session_pids[0]}
cd "$workdir/game"

# ticks PID: the processor time the process has used, in clock ticks.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# shot_at_scale1 SCALE OUT.ppm: the window's picture brought back to 800 x 500.
shot_at_scale1() {
    shoot "$window" "$2.big"
    convert "$2.big" -sample '800x500!' "$2"
}

echo "-- load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for scale in "${scales[@]}"; do
    launch "$corvane" --scale "$scale"
    convert "$start_frame" -sample "$((scale * 100))%" "$workdir/expected.ppm"
    expect_picture "$window" "$workdir/start.ppm" "$workdir/expected.ppm"
    shot_at_scale1 "$scale" "$workdir/before.ppm"
    server_before=$(ticks "$xvfb_pid")
    span_begin "$program_pid"
    xdotool keydown Right
    sleep "$seconds"
    xdotool keyup Right
    span_end "$program_pid"
    server_ticks=$(($(ticks "$xvfb_pid") - server_before))
    shot_at_scale1 "$scale" "$workdir/after.ppm"
    walked=$(frames_walked "$workdir/before.ppm" "$workdir/after.ppm") || walked=-
    rate_check "scale $scale" "$walked" "$SPAN_SECONDS" "$SPAN_TICKS" 1000 || true
    rate_check "the X server meanwhile" - "$SPAN_SECONDS" "$server_ticks" 1000 || true
    xdotool key --window "$window" Escape
    wait_exit 10
done
echo "-- load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
