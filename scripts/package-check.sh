#!/usr/bin/env bash
# The players' packages, made by scripts/package.sh, tried as players would try
# them:
#  windows  the 32-bit zip unpacked into an empty folder and its corvane.exe
#           started under Wine (a fresh prefix) on a private 16-bit X server
#           from another working folder: the window shows corvane-replay's
#           first frame, Escape ends the game with exit code 0, and its log is
#           beside the program. Where the kernel runs no 32-bit programs (so
#           no 32-bit Wine), the 64-bit zip.
#  deb      the Debian package installed with apt-get, which pulls in what it
#           depends on, and removed again (or, not being root, or with
#           --unpack, unpacked by dpkg -x into a temporary root); corvane
#           started from an empty folder in /tmp on a private X server with
#           no sound device shows the first frame, says in one line that it is
#           silent, Escape ends it with exit code 0, and debug.txt is in
#           $XDG_DATA_HOME/corvane; lintian reports no errors in the package.
# On a fresh Debian machine it first installs what it needs (as root, or
# through sudo).
#   scripts/package-check.sh [--unpack]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
unpack=no
[ "${1:-}" != --unpack ] || unpack=yes

install_for packages wine display
bits=64
if install_wine32; then
    bits=32
else
    echo "The 64-bit zip is tried under Wine instead of the 32-bit one."
fi
scripts/package.sh
cmake --build --preset deb --target corvane-replay >/dev/null
replay=$PWD/build/deb/tools/corvane-replay/corvane-replay
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# first_frame IMAGES OUT_DIR: the game's first frame, replayed with IMAGES.
first_frame() {
    mkdir -p "$2/run"
    ln -s "$1" "$2/run/Images"
    "$replay" --dir "$2/run" --frames 1 --png-at 1 --out "$2" >"$2/replay.log" 2>&1 ||
        { cat "$2/replay.log" >&2; return 1; }
    echo "$2/frame_0001.png"
}

(
    source tests/windows/wine_session.sh
    zip=$PWD/$(ls build/packages/corvane-*-win$bits.zip)
    WINE_STATE=$work/wine
    WORK=$work/wine/elsewhere
    wine_begin 16
    mkdir "$work/unpacked"
    (cd "$work/unpacked" && cmake -E tar xf "$zip")
    game=$(dirname "$(ls "$work"/unpacked/*/corvane.exe)")
    expected=$(first_frame "$game/Images" "$work/windows-frame")
    wine_start "$game/corvane.exe"
    window=$(wine_find_window 30 '^corvane\.exe$' '^$' 800 500)
    wine_wait_for_picture 30 "$window" "$expected" first_picture
    xdotool key --window "$window" Escape 2>/dev/null
    rc=$(wine_wait_exit 20)
    [ "$rc" = 0 ] || die "corvane.exe ended with exit code $rc"
    [ -s "$game/debug.txt" ] || die "no log of the game beside corvane.exe"
    note "$(basename "$zip"): unpacked, started from another folder under Wine, first frame shown, Escape ended it"
)

(
    source tests/platform/x_session.sh
    source tests/windows/wine_session.sh
    workdir=$work/deb
    mkdir -p "$workdir"
    deb=$PWD/$(ls build/packages/corvane_*.deb)
    lintian --fail-on error --display-info "$deb" >"$workdir/lintian.txt" 2>&1 ||
        fail "lintian found errors: $(cat "$workdir/lintian.txt")"
    echo "-- lintian $(basename "$deb"): no errors"
    grep -v 'root privileges' "$workdir/lintian.txt" | sed 's/^/   /' || true

    root=""
    if [ "$unpack" = no ] && { [ "$(id -u)" -eq 0 ] || sudo -n true 2>/dev/null; }; then
        sudo_cmd=()
        [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
        installed_before=$(dpkg-query -W -f='${Status}' corvane 2>/dev/null || true)
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
            -o DPkg::Lock::Timeout=120 "$deb" >"$workdir/apt.log" 2>&1 ||
            fail "apt-get could not install the package: $(cat "$workdir/apt.log")"
        if [[ "$installed_before" != *"install ok installed"* ]]; then
            trap 'stop_session; "${sudo_cmd[@]}" apt-get remove -y -qq -o DPkg::Lock::Timeout=120 corvane >/dev/null' EXIT
        fi
        how="installed with apt-get"
    else
        root=$workdir/root
        dpkg -x "$deb" "$root"
        how="unpacked into $root"
    fi

    compare_565() { [ "$(differing_pixels "$1" "$2" "$1.diff.png")" = 0 ]; }
    compare=compare_565
    expected=$(first_frame "$root/usr/share/corvane/Images" "$workdir/frame")
    export XDG_DATA_HOME=$workdir/data
    start=$(mktemp -d /tmp/corvane-start.XXXXXX)
    failure_logs=("$start/stderr.txt" "$XDG_DATA_HOME/corvane/debug.txt")
    start_xvfb 1024x768
    cd "$start"
    # No sound device: SDL is pointed at an audio driver that is not there.
    launch env SDL_AUDIODRIVER=no-such-driver "$root/usr/games/corvane" --scale 1
    expect_picture "$window" "$workdir/first-picture.ppm" "$expected"
    grep -q '^Corvane: no sound device was found, so the game is silent (' stderr.txt ||
        fail "without a sound device corvane says: $(cat stderr.txt)"
    xdotool key --window "$window" Escape
    wait_exit 10
    [ "$exit_code" -eq 0 ] || fail "corvane ended with exit code $exit_code"
    [ -s "$XDG_DATA_HOME/corvane/debug.txt" ] || fail "no log of the game in $XDG_DATA_HOME/corvane"
    [ "$(readlink "$XDG_DATA_HOME/corvane/Images")" = "$(readlink -m "$root/usr/share/corvane/Images")" ] ||
        fail "Images in $XDG_DATA_HOME/corvane does not lead to the installed pictures"
    rm -f stdout.txt stderr.txt
    [ -z "$(ls -A)" ] || fail "the game left files in the folder it was started from: $(ls -A)"
    cd /
    rm -rf "$start"
    echo "-- $(basename "$deb"): $how, started from /tmp without a sound device, first frame shown, Escape ended it"
)
echo "Both packages passed."
