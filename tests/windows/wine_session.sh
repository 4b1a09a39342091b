# Shell functions for running one of this project's Windows programs under Wine
# on a private X server; sourced by the wine_*_test.sh scripts.
#
# Each test gets its own Xvfb (display number picked by Xvfb) and a work folder,
# and shares one Wine prefix under the build tree, made afresh at the start of
# every test run (wine_prefix_setup.sh): a prefix left by an earlier run, or
# by another Wine, can break every test. HOME (also under the build tree)
# holds an ALSA configuration whose default device is a null sink, so
# DirectSound finds a device on a machine without sound hardware; a second
# HOME without it stands for a machine with no sound device at all.
#
# Variables a test sets before wine_begin:
#   WINE_STATE  folder for the shared prefix and HOME (under the build tree)
#   WORK        the test's work folder (made empty by wine_begin)

set -euo pipefail

die() {
    echo "FAIL: $*" >&2
    exit 1
}

note() { echo "-- $*"; }

XVFB_PID=""
PROGRAM_PID=""
PROGRAM_EXE=""
PROGRAM_RC_FILE=""

wine_end() {
    if [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
        kill "$PROGRAM_PID" 2>/dev/null || true
    fi
    if [ -n "${WINEPREFIX:-}" ]; then
        # The next test must not reach this server (and through it this X
        # server's desktop) while it is still going.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}

# wine_begin DEPTH [AUDIO]: X server at 1024 x 768 and DEPTH bits, Wine prefix
# ready; AUDIO "null" (the default) for the null sound device, "none" for none.
wine_begin() {
    local depth="$1" audio="${2:-null}"
    WINE_STATE=$(realpath -m "$WINE_STATE")
    WORK=$(realpath -m "$WORK")
    for tool in wine wineserver Xvfb xdotool xwininfo import compare convert identify flock; do
        command -v "$tool" >/dev/null || die "$tool is not installed"
    done
    rm -rf "$WORK"
    mkdir -p "$WORK"
    trap wine_end EXIT

    local fifo="$WORK/xvfb.display"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "1024x768x$depth" -nolisten tcp 3>"$fifo" \
        >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 20 number <"$fifo" || die "Xvfb did not start (see $WORK/xvfb.log)"
    rm -f "$fifo"
    export DISPLAY=":$number"

    export HOME="$WINE_STATE/home-$audio"
    mkdir -p "$HOME"
    wine_environment
    case "$audio" in
        null) echo 'pcm.!default { type null }' >"$HOME/.asoundrc" ;;
        none) echo 'pcm.!default { type hw card 99 }' >"$HOME/.asoundrc" ;;
        *) die "unknown sound device '$audio'" ;;
    esac
    (
        flock 9
        [ -f "$WINEPREFIX/system.reg" ] || wine_make_prefix
    ) 9>"$WINE_STATE/prefix.lock"
}

# wine_environment: the variables every Wine command here runs with.
wine_environment() {
    export WINEPREFIX="$WINE_STATE/prefix"
    export WINEDEBUG=-all
    # No Mono or Gecko installer prompts: the programs need neither.
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

# wine_make_prefix: a new prefix in WINEPREFIX. DirectDraw draws through Wine's
# GDI renderer: its OpenGL one would draw on Mesa's software rasteriser on a
# machine without a graphics card, at some 10 to 20 ms of processor time per
# presented picture, which is Wine's cost, not the program's.
wine_make_prefix() {
    note "creating the Wine prefix $WINEPREFIX"
    timeout 180 wine wineboot -i >"$WINE_STATE/wineboot.log" 2>&1 ||
        die "wineboot failed (see $WINE_STATE/wineboot.log)"
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d no3d /f \
        >>"$WINE_STATE/wineboot.log" 2>&1 ||
        die "the Direct3D renderer could not be set (see $WINE_STATE/wineboot.log)"
    wineserver -w
}

# wine_launch EXE [ARGUMENT...]: starts EXE in the work folder; the exit code
# goes to a file.
wine_launch() {
    local exe="$1"
    shift
    PROGRAM_EXE="$exe"
    cp "$exe" "$WORK/"
    PROGRAM_RC_FILE="$WORK/exit_code"
    rm -f "$PROGRAM_RC_FILE"
    (
        cd "$WORK"
        set +e
        wine "./$(basename "$exe")" "$@" >"$WORK/program.log" 2>&1
        echo $? >"$PROGRAM_RC_FILE"
    ) &
    PROGRAM_PID=$!
}

# wine_program_pid: the process the launched program runs in. A 64-bit program
# leaves its launcher and runs under its Windows path; a 32-bit one stays the
# launcher's child.
wine_program_pid() {
    local path pid
    path="Z:$(tr / '\\' <<<"$WORK")\\$(basename "$PROGRAM_EXE")"
    pid=$(ps -eo pid=,args= | PROGRAM_PATH="$path" awk 'index($0, ENVIRON["PROGRAM_PATH"]) {print $1; exit}')
    [ -n "$pid" ] || pid=$(pgrep -P "$PROGRAM_PID" | head -n 1)
    [ -n "$pid" ] || die "the program's process is not found"
    echo "$pid"
}

# wine_wait_exit SECONDS: waits for the program to end and prints its exit code.
wine_wait_exit() {
    local limit=$(($1 * 10))
    for ((i = 0; i < limit; ++i)); do
        if [ -f "$PROGRAM_RC_FILE" ]; then
            cat "$PROGRAM_RC_FILE"
            PROGRAM_PID=""
            return 0
        fi
        sleep 0.1
    done
    die "the program did not end within $1 seconds"
}

# wine_find_window SECONDS CLASS NAME WIDTH HEIGHT: prints the id of the visible X
# window of class CLASS whose name matches the regular expression NAME and whose
# size is WIDTH x HEIGHT (0 for any). Wine makes one X window per top-level
# window; with no window manager running it covers exactly the client area.
wine_find_window() {
    local limit=$(($1 * 10)) class="$2" name="$3" width="$4" height="$5"
    for ((i = 0; i < limit; ++i)); do
        local id
        for id in $(xdotool search --onlyvisible --classname "$class" 2>/dev/null); do
            local title
            title=$(xdotool getwindowname "$id" 2>/dev/null) || continue
            [[ "$title" =~ $name ]] || continue
            local geometry w h
            geometry=$(xwininfo -id "$id" 2>/dev/null) || continue
            w=$(awk '/^  Width:/ {print $2}' <<<"$geometry")
            h=$(awk '/^  Height:/ {print $2}' <<<"$geometry")
            if [ "$width" -eq 0 ] || { [ "$w" -eq "$width" ] && [ "$h" -eq "$height" ]; }; then
                echo "$id"
                return 0
            fi
        done
        [ -f "$PROGRAM_RC_FILE" ] && die "the program ended (exit code $(cat "$PROGRAM_RC_FILE")) \
before its window showed; its log: $(tr '\r' ' ' <"$WORK/debug.txt" 2>/dev/null)"
        sleep 0.1
    done
    xwininfo -root -tree >"$WORK/windows.txt" 2>&1 || true
    die "no window of class $class named /$name/ sized ${width}x$height within $1 seconds \
(windows in $WORK/windows.txt)"
}

# wine_client_shot WINDOW OUT.png: the part of the window's area that is on the
# screen, as the user sees it; VISIBLE_LEFT, VISIBLE_TOP, VISIBLE_WIDTH and
# VISIBLE_HEIGHT tell which part of the window that is.
wine_client_shot() {
    local id="$1" out="$2" geometry x y w h screen_w screen_h
    geometry=$(xwininfo -id "$id")
    x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
    y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
    w=$(awk '/^  Width:/ {print $2}' <<<"$geometry")
    h=$(awk '/^  Height:/ {print $2}' <<<"$geometry")
    read -r screen_w screen_h < <(xwininfo -root | awk '/^  Width:/ {w = $2} /^  Height:/ {h = $2}
        END {print w, h}')
    VISIBLE_LEFT=$((x < 0 ? -x : 0))
    VISIBLE_TOP=$((y < 0 ? -y : 0))
    VISIBLE_WIDTH=$(((x + w > screen_w ? screen_w - x : w) - VISIBLE_LEFT))
    VISIBLE_HEIGHT=$(((y + h > screen_h ? screen_h - y : h) - VISIBLE_TOP))
    ((VISIBLE_WIDTH > 0 && VISIBLE_HEIGHT > 0)) || die "window $id is not on the screen"
    import -silent -window root \
        -crop "${VISIBLE_WIDTH}x$VISIBLE_HEIGHT+$((x + VISIBLE_LEFT))+$((y + VISIBLE_TOP))" \
        +repage "$out"
}

# quantize_565 IN OUT: keeps the top 5, 6 and 5 bits of red, green and blue, so a
# picture widened from 16-bit colours compares equal however it was widened.
quantize_565() {
    convert "$1" -depth 16 -alpha off \
        -channel R -evaluate And 63488 -channel G -evaluate And 64512 \
        -channel B -evaluate And 63488 +channel "$2"
}

# differing_pixels A B DIFF: the number of pixels whose 5:6:5 colours differ
# (both pictures the same size); DIFF shows where. Anything but a number means
# the pictures could not be compared, and says why.
differing_pixels() {
    local qa="${3%.png}.a.png" qb="${3%.png}.b.png" size_a size_b metric
    size_a=$(identify -format '%wx%h' "$1" 2>&1) || size_a="unreadable $1"
    size_b=$(identify -format '%wx%h' "$2" 2>&1) || size_b="unreadable $2"
    if [ "$size_a" != "$size_b" ]; then
        echo "all (sizes $size_a and $size_b)"
        return 0
    fi
    quantize_565 "$1" "$qa"
    quantize_565 "$2" "$qb"
    # compare prints the count on standard error and exits with 1 when it is not 0.
    metric=$(compare -metric AE "$qa" "$qb" "$3" 2>&1 >/dev/null) || true
    if [[ "$metric" =~ ^[0-9]+(\.[0-9]+)?(e\+?[0-9]+)?$ ]]; then
        printf '%.0f\n' "$metric"
    else
        echo "unknown (compare: $metric)"
    fi
}

# wine_wait_for_picture SECONDS WINDOW EXPECTED.png NAME [MASK]: screenshots the
# window until the part of it on the screen equals that part of EXPECTED (in
# 5:6:5); MASK, an ImageMagick rectangle "x0,y0 x1,y1" in the window, is
# blackened in the shot first (EXPECTED holds black there). Fails with the last
# shot and a difference picture kept in the work folder.
wine_wait_for_picture() {
    local limit=$(($1 * 4)) id="$2" expected="$3" name="$4" mask="${5:-}" count=""
    local compared="$WORK/$name.png" part="$WORK/$name.expected.png" x0 y0 x1 y1
    for ((i = 0; i < limit; ++i)); do
        wine_client_shot "$id" "$WORK/$name.png"
        convert "$expected" -crop "${VISIBLE_WIDTH}x$VISIBLE_HEIGHT+$VISIBLE_LEFT+$VISIBLE_TOP" \
            +repage "$part"
        if [ -n "$mask" ]; then
            compared="$WORK/$name.masked.png"
            IFS=', ' read -r x0 y0 x1 y1 <<<"$mask"
            convert "$WORK/$name.png" -fill black -draw "rectangle $((x0 - VISIBLE_LEFT)),$((y0 - \
VISIBLE_TOP)) $((x1 - VISIBLE_LEFT)),$((y1 - VISIBLE_TOP))" "$compared"
        fi
        count=$(differing_pixels "$compared" "$part" "$WORK/$name.diff.png")
        [ "$count" = "0" ] && return 0
        sleep 0.25
    done
    die "$name: $count pixels differ from $expected (shot $WORK/$name.png, \
difference $WORK/$name.diff.png)"
}

# log_lines: debug.txt one line each, without the line ends (CR LF on Windows)
# and without the two spaces that start each later line.
log_lines() {
    tr -d '\r' <"$WORK/debug.txt" | sed 's/^  //'
}
