#!/usr/bin/env bash
# The game without a display to show its window on, with DISPLAY unset and
# with a DISPLAY where no X server listens: it must end within seconds (SDL's
# offscreen driver would run it unseen for ever) with exit code 3 and, on
# standard error, exactly the sentence scripts/play.sh prints when it sees no
# display.
#   no_display_test.sh CORVANE PLAY_SCRIPT WORKDIR
set -euo pipefail
program=$1 play=$2 workdir=$3

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$workdir"
mkdir -p "$workdir"
cd "$workdir"
# The game looks for its pictures before it opens its window.
ln -s "$(dirname "$program")/Images" Images
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
# A sanitizer build would only add the system libraries' memory to the output.
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

status=0
env -u DISPLAY "$play" 2>expected.txt >/dev/null || status=$?
[ "$status" -eq 3 ] || fail "play.sh without a display: exit code $status, expected 3"
[ "$(wc -l <expected.txt)" -eq 1 ] || fail "play.sh says more than one line: $(cat expected.txt)"

number=200
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
for display in unset ":$number"; do
    started=$(date +%s)
    status=0
    if [ "$display" = unset ]; then
        env -u DISPLAY timeout 20 "$program" >stdout.txt 2>stderr.txt || status=$?
    else
        DISPLAY=$display timeout 20 "$program" >stdout.txt 2>stderr.txt || status=$?
    fi
    seconds=$(($(date +%s) - started))
    [ "$status" -ne 124 ] || fail "DISPLAY $display: still running after 20 seconds"
    [ "$status" -eq 3 ] || fail "DISPLAY $display: exit code $status, expected 3"
    [ "$seconds" -le 5 ] || fail "DISPLAY $display: took $seconds seconds to end"
    cmp -s stderr.txt expected.txt ||
        fail "DISPLAY $display: standard error is not play.sh's sentence: $(cat stderr.txt)"
    [ ! -s stdout.txt ] || fail "DISPLAY $display: wrote to standard output: $(cat stdout.txt)"
    echo "DISPLAY $display: exit code 3 after $seconds s with the sentence"
done
echo "PASS"
