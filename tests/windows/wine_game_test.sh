#!/usr/bin/env bash
# corvane.exe under Wine on a 16-bit desktop, against the same game replayed on
# the headless display by corvane-replay:
#  1. the first picture equals the replayed first frame;
#  2. after the right arrow was held for a moment the picture equals the
#     replayed frame for the same walk: n frames to the right (n read from how
#     far the mountains moved) and the walk cycle as far as it got meanwhile;
#  3. held for three seconds, the right arrow moves the view a pixel a frame at
#     a steady rate near the display's refresh, the game using well under a
#     core; behind another program's window it uses well under a core too;
#  4. Escape closes the window and the program ends with exit code 0;
#  5. debug.txt holds what the replayed game logs (but where the surfaces live).
#   wine_game_test.sh CORVANE.EXE WINE_STATE_DIR WORK_DIR IMAGES_DIR CORVANE_REPLAY
source "$(dirname "$0")/wine_session.sh"
source "$(dirname "$0")/../support/play_checks.sh"
EXE="$1"
WINE_STATE="$2"
WORK="$3"
IMAGES="$4"
REPLAY="$5"

# replay KEYS FRAME: the replayed picture after FRAME frames of the key script KEYS.
replay() {
    local out="$WORK/replay/frames"
    "$REPLAY" --dir "$WORK/replay" --keys "$1" --png-at "$2" --out "$out" >"$WORK/replay/log.txt" 2>&1 ||
        die "corvane-replay --keys $1 failed: $(cat "$WORK/replay/log.txt")"
    printf '%s/frame_%04d.png\n' "$out" "$2"
}

# still_shot OUT.png: the picture once it stands still after a key was
# released; two equal shots in a row show it.
still_shot() {
    wine_client_shot "$window" "$1"
    for ((i = 0; ; ++i)); do
        sleep 0.3
        wine_client_shot "$window" "$WORK/shot_again.png"
        [ "$(differing_pixels "$1" "$WORK/shot_again.png" "$WORK/still.png")" = 0 ] && break
        [ "$i" -lt 20 ] || die "the picture kept changing after the key was released"
        mv "$WORK/shot_again.png" "$1"
    done
}

wine_begin 16
cp -r "$IMAGES" "$WORK/Images"
mkdir -p "$WORK/replay"
cp -r "$IMAGES" "$WORK/replay/Images"

start=$(replay none:1 1)
wine_launch "$EXE"
window=$(wine_find_window 30 '^corvane\.exe$' '^$' 800 500)
note "window $window: client area 800 x 500"
wine_wait_for_picture 30 "$window" "$start" shot_start
note "the first picture equals the replayed first frame"

xdotool keydown --window "$window" Right 2>/dev/null
sleep 0.1
xdotool keyup --window "$window" Right 2>/dev/null
still_shot "$WORK/shot_moved.png"

shifts=$(view_shift "$start" "$WORK/shot_moved.png")
[ "$(wc -w <<<"$shifts")" = 1 ] || die "the picture after the key is no shifted first picture \
(shifts that fit: ${shifts:-none}; shot $WORK/shot_moved.png)"
n=$shifts
[ "$n" -ge 1 ] || die "holding the right arrow moved nothing"
note "the right arrow moved the view $n pixels"

# The walk cycle steps on frames 31, 61, 91, ... and only steps taken while the
# key was held show; depending on where in that cycle the key went down, n held
# frames hold one of two step counts. Replay each: the key down from frame s.
declare -A tried
match=""
for ((s = 31; s <= 60; ++s)); do
    steps=0
    for ((c = s; c < s + n; ++c)); do ((c % 30 == 1)) && steps=$((steps + 1)); done
    [ -z "${tried[$steps]:-}" ] || continue
    tried[$steps]=1
    expected=$(replay "none:$((s - 1)),right:$n" $((s + n - 1)))
    count=$(differing_pixels "$WORK/shot_moved.png" "$expected" "$WORK/shot_moved.diff.png")
    note "replayed walk of $n frames with $steps cycle steps: $count pixels differ"
    if [ "$count" = 0 ]; then
        match=$steps
        break
    fi
done
[ -n "$match" ] || die "the picture after the key matches no replayed walk of $n frames \
(shot $WORK/shot_moved.png)"
note "the picture equals the replayed frame, pixel for pixel"

# Three seconds of walking: the frames that ran are the pixels the view moved.
# A machine busy enough to starve the game gets a second walk; a pacing fault
# fails both.
pid=$(wine_program_pid)
before="$WORK/shot_moved.png"
for attempt in 1 2; do
    span_begin "$pid"
    xdotool keydown --window "$window" Right 2>/dev/null
    sleep 3
    xdotool keyup --window "$window" Right 2>/dev/null
    span_end "$pid"
    still_shot "$WORK/shot_walked$attempt.png"
    walked=$(frames_walked "$before" "$WORK/shot_walked$attempt.png") ||
        die "the picture after three seconds of walking is no walk from before"
    rate_check "walking for three seconds" "$walked" "$SPAN_SECONDS" "$SPAN_TICKS" && break
    [ "$attempt" = 2 ] && die "the frames are not paced to the display"
    before="$WORK/shot_walked$attempt.png"
done

# Notepad in front: the game shows nothing and waits out its frames' time.
(cd "$WORK" && wine notepad >"$WORK/notepad.log" 2>&1) &
notepad=$(wine_find_window 30 '^notepad\.exe$' '' 0 0)
sleep 1
waiting_check "behind Notepad" "$pid" || die "the game behind another window does not wait"
xdotool key --window "$notepad" alt+F4 2>/dev/null
for ((i = 0; i < 100; ++i)); do
    xwininfo -id "$notepad" >/dev/null 2>&1 || break
    sleep 0.1
done
# A click brings the game to the front again, where walking moves its picture.
for ((i = 0; ; ++i)); do
    [ "$i" -lt 10 ] || die "clicked, the game does not show frames again"
    xdotool mousemove --window "$window" 400 250 click 1 2>/dev/null
    xdotool keydown --window "$window" Right 2>/dev/null
    sleep 0.5
    xdotool keyup --window "$window" Right 2>/dev/null
    wine_client_shot "$window" "$WORK/shot_back.png"
    [ "$(differing_pixels "$WORK/shot_walked$attempt.png" "$WORK/shot_back.png" "$WORK/back.png")" = 0 ] ||
        break
done
note "back in front, the game shows its frames again"

xdotool key --window "$window" Escape 2>/dev/null
rc=$(wine_wait_exit 20)
[ "$rc" = 0 ] || die "exit code $rc after Escape, expected 0"
note "Escape closed the window; exit code 0"

# Where the surfaces live is the driver's choice (Wine's GDI renderer keeps them
# in system memory, the headless display in video memory); the rest must match.
placement() { sed -E 's/(is in video memory|NOT IN VIDEO MEMORY)\./<placed>./'; }
diff <(log_lines | placement) <(tr -d '\r' <"$WORK/replay/debug.txt" | sed 's/^  //' | placement) \
    >"$WORK/log.diff" ||
    die "debug.txt differs from the replayed game's: $(cat "$WORK/log.diff")"
note "debug.txt: $(log_lines | tr '\n' '|')"
echo "PASS"
