# Shared by the tests that play a program in a real window on a private Xvfb
# display (sourced). The sourcing script sets $workdir and may list in
# failure_logs the files to show when it fails.
failure_logs=()
session_pids=()

# Xvfb has no sound card; SDL's silent driver stands in for one.
export SDL_AUDIODRIVER=dummy
# In a sanitizer build, no leak check here: the system's D-Bus and Mesa OpenGL
# libraries keep memory until the process ends, and only a slow stack walk could
# tell it apart, which deadlocks inside Mesa's code generator. The backend's own
# code is leak-checked by its tests on SDL's dummy driver.
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

fail() {
    echo "FAIL: $*" >&2
    for f in "${failure_logs[@]}"; do
        [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }
    done
    exit 1
}

stop() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 20); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$1" 2>/dev/null || true
}

# Stops what the session started, newest first; installed as the EXIT trap.
stop_session() {
    local i
    for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do stop "${session_pids[$i]}"; done
}
trap stop_session EXIT

# start_xvfb WIDTHxHEIGHT: an X server on a display number of its own choosing
# (-displayfd: the server takes the number atomically, so tests started side
# by side never share one); exports DISPLAY. -noreset: by default the server
# starts over when its last client leaves, and a program started meanwhile
# finds no display.
start_xvfb() {
    local fifo="$workdir/xvfb.display" number
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$fifo" >"$workdir/xvfb.log" 2>&1 &
    session_pids+=($!)
    failure_logs+=("$workdir/xvfb.log")
    read -r -t 30 number <"$fifo" || fail "no Xvfb display could be started"
    rm -f "$fifo"
    export DISPLAY=":$number"
    unset WAYLAND_DISPLAY
}

# start_window_manager: Openbox, for what only a window manager does (the
# full-screen switch); returns once it has taken the screen. Its first start on
# a fresh machine may build font caches, so it gets a generous minute.
start_window_manager() {
    openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
    session_pids+=($!)
    failure_logs+=("$workdir/openbox.log")
    for _ in $(seq 600); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "${session_pids[-1]}" 2>/dev/null || fail "the window manager ended at once"
        sleep 0.1
    done
    fail "the window manager did not start"
}

# shoot WINDOW OUT.ppm: takes screenshots of the window ("root" for the whole
# screen) until two in a row agree, so a frame still being drawn is never kept.
shoot() {
    local window=$1 out=$2 previous="" i
    local what=(-id "$window")
    [ "$window" = root ] && what=(-root)
    for i in $(seq 60); do
        xwd "${what[@]}" -silent | convert xwd:- "ppm:$out.$i"
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

# replay_walk_frames REPLAY IMAGES MAX: the game's pictures as corvane-replay
# renders them (PPM, under $workdir/frames): start_frame before any key, and
# walk_frames, every picture the right arrow held K frames can give for K from 1
# to MAX. The walk animation steps every 30 frames, so where the hold fell in
# that cycle matters: frame K of "right:N" has no step yet, frame 29 + K of
# "none:29,right:N" has the first step inside the hold.
replay_walk_frames() {
    local replay=$1 images=$2 max=$3 k
    mkdir -p "$workdir/frames/replay"
    ln -sfn "$images" "$workdir/frames/replay/Images"
    "$replay" --dir "$workdir/frames/replay" --keys "right:$max" --png-at "$(seq -s, 1 "$max")" \
        --out "$workdir/frames/a" >/dev/null || fail "corvane-replay failed"
    "$replay" --dir "$workdir/frames/replay" --keys "none:29,right:$max" \
        --png-at "1,$(seq -s, 30 $((29 + max)))" --out "$workdir/frames/b" >/dev/null ||
        fail "corvane-replay failed"
    mogrify -format ppm "$workdir"/frames/a/*.png "$workdir"/frames/b/*.png
    start_frame="$workdir/frames/b/frame_0001.ppm"
    walk_frames=()
    for k in $(seq 1 "$max"); do
        walk_frames+=("$workdir/frames/a/frame_$(printf %04d "$k").ppm"
                      "$workdir/frames/b/frame_$(printf %04d $((29 + k))).ppm")
    done
}

# wait_window PID SECONDS: the first visible window of the process, once it has
# one; empty when the process ends or the time runs out. xdotool's search gives
# up with BadWindow when any window on the display goes while it looks (a window
# manager's frame, a program just ended), so one failed search is only tried
# again; the look is repeated every tenth of a second, quick on a quiet machine.
wait_window() {
    local pid=$1 found="" deadline=$((SECONDS + $2))
    while [ -z "$found" ] && ((SECONDS < deadline)) && kill -0 "$pid" 2>/dev/null; do
        found=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || found=""
        [ -n "$found" ] || sleep 0.1
    done
    echo "$found"
}

# launch PROGRAM ARGUMENT...: starts the program in the current folder (its
# standard input the caller's, output in stdout.txt and stderr.txt) and waits for
# its window, which it gives the focus; sets program_pid, window. A loaded
# machine may take long to start a program, so the wait is generous. A window
# that goes before it has the focus (a program may replace its first) is
# looked for again.
launch() {
    "$@" <&0 >stdout.txt 2>stderr.txt &
    program_pid=$!
    session_pids+=("$program_pid")
    for _ in 1 2 3; do
        window=$(wait_window "$program_pid" 120)
        [ -n "$window" ] || break
        xdotool windowfocus --sync "$window" 2>/dev/null && return 0
    done
    kill -0 "$program_pid" 2>/dev/null || fail "$1 ended before its window appeared"
    [ -n "$window" ] || fail "no window appeared for $1 in two minutes"
    fail "the window of $1 could not be given the focus"
}

# expect_picture WINDOW OUT.ppm EXPECTED.ppm...: the window (or "root") shows
# one of the expected pictures, compared by $compare; the window is black until
# the first frame arrives, which may take a while.
expect_picture() {
    local window=$1 out=$2
    shift 2
    for _ in $(seq 30); do
        shoot "$window" "$out"
        "$compare" "$out" "$@" >"$out.txt" 2>&1 && return 0
        sleep 0.3
    done
    fail "$(basename "$out"): $(cat "$out.txt")"
}

# wait_exit SECONDS: the program ends within that time; sets exit_code.
wait_exit() {
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$program_pid" 2>/dev/null && fail "the program did not end"
    exit_code=0
    wait "$program_pid" || exit_code=$?
}
