# Shell functions shared by the tests that play the game in a real window
# (under Wine and through SDL): how far the view scrolled between two
# pictures, how fast frames came and how much processor time they took.

# row_words PICTURE Y: the 5:6:5 words of one row of the game's 800-wide view.
row_words() {
    convert "$1" -crop 800x1+0+"$2" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 |
        awk '{printf "%d ", int($1 / 8) * 2048 + int($2 / 4) * 32 + int($3 / 8)}'
}

# shifts_in_row START MOVED Y: every shift n from 0 to 520 for which row Y of
# MOVED is row Y of START moved n pixels left.
shifts_in_row() {
    awk -v start="$(row_words "$1" "$3")" -v moved="$(row_words "$2" "$3")" 'BEGIN {
        count = split(start, a, " "); split(moved, b, " ");
        for (n = 0; n <= 520; ++n) {
            same = 1;
            for (x = 1; x + n <= count; ++x) if (b[x] != a[x + n]) { same = 0; break; }
            if (same) printf "%d\n", n;
        }
    }'
}

# view_shift START MOVED: the shifts (pixels to the left, one a line) that take
# START to MOVED in the two rows that cross the mountain wall, which keeps the
# answer unique while part of the wall is in both pictures (the grass alone
# repeats every 256 pixels). Nothing when MOVED is no shifted START.
view_shift() {
    grep -Fx -f <(shifts_in_row "$1" "$2" 400) <(shifts_in_row "$1" "$2" 470) || true
}

# frames_walked START MOVED: the frames walked between two still pictures (a
# pixel a frame); fails, saying why, unless exactly one shift fits.
frames_walked() {
    local shifts
    shifts=$(view_shift "$1" "$2")
    if [ "$(wc -w <<<"$shifts")" != 1 ]; then
        echo "$2 is no shifted $1 (shifts that fit: ${shifts:-none}; more than 520 frames, or none)" >&2
        return 1
    fi
    echo "$shifts"
}

# span_begin PID, then span_end PID: SPAN_SECONDS is the time between the two
# calls and SPAN_TICKS the processor time the process used meanwhile, all its
# threads together, in clock ticks (getconf CLK_TCK a second).
span_begin() {
    SPAN_START_TICKS=$(awk '{print $14 + $15}' "/proc/$1/stat")
    SPAN_START=$(date +%s.%N)
}
span_end() {
    SPAN_TICKS=$(($(awk '{print $14 + $15}' "/proc/$1/stat") - SPAN_START_TICKS))
    SPAN_SECONDS=$(awk -v a="$SPAN_START" -v b="$(date +%s.%N)" 'BEGIN {print b - a}')
}

# rate_check WHAT COUNT SECONDS TICKS [MOST]: prints the frame rate and
# processor use of a span of SECONDS in which COUNT frames ran ("-": not
# counted) and the process used TICKS of processor time; fails unless the
# frames came at 30 to 80 a second (the display's 60, with room for a loaded
# machine; an unpaced game runs hundreds or thousands, a stalled one next to
# none) and the process used under MOST percent of a core (default 40; a
# spinning process takes all it can get).
rate_check() {
    awk -v what="$1" -v count="$2" -v seconds="$3" -v ticks="$4" -v most="${5:-40}" \
        -v hz="$(getconf CLK_TCK)" 'BEGIN {
        cpu = 100 * ticks / hz / seconds;
        ok = cpu < most;
        if (count == "-") {
            printf "-- %s: %.0f %% of a core over %.2f s\n", what, cpu, seconds;
        } else {
            rate = count / seconds;
            ok = ok && rate >= 30 && rate <= 80;
            printf "-- %s: %d frames in %.2f s, %.1f a second, %.0f %% of a core\n", what, count, seconds, rate, cpu;
        }
        exit ok ? 0 : 1;
    }'
}

# waiting_check WHAT PID: rate_check of three seconds in which the program shows
# nothing.
waiting_check() {
    span_begin "$2"
    sleep 3
    span_end "$2"
    rate_check "$1" - "$SPAN_SECONDS" "$SPAN_TICKS"
}
