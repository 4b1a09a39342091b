#!/usr/bin/env bash
# The engine as a game maker meets it: builds the engine and its tools (preset
# engine), installs them into a temporary prefix, and from folders of their own
# builds against the installed package
#   - examples/template with CMake, and runs its check (its runner,
#     mygame-replay, against its golden frame); without a display the game must
#     name that runner;
#   - the template's game.cpp without CMake, through pkg-config (corvane-sdl,
#     and corvane-runner for its replay, which must give the same frame);
#   - tests/installed, which uses the installed tools and the pictures component
#     through find_package (corvane-asset, corvane-replay, PictureFile), and
#     its picture check again through pkg-config (corvane-pictures,
#     corvane-headless);
#   - the reference of the installed headers (scripts/docs.sh), which fails on
#     an undocumented public call.
# With "windows" it installs the 64-bit Windows cross build (preset mingw64)
# instead and builds the template against it: its program must need no DLL but
# Windows' own, and under Wine on a private 16-bit X server it must show its
# window and end with exit code 0 on Escape. On a fresh Debian machine it first
# installs what it needs (as root, or through sudo).
#   scripts/template-check.sh            Linux: SDL and headless backends
#   scripts/template-check.sh windows    64-bit Windows under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
target="${1:-linux}"

purposes=(build)
[ "$target" != windows ] || purposes+=(windows wine display)
install_for "${purposes[@]}"

jobs=$(($(nproc) < 2 ? $(nproc) : 2))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# names_its_runner DIR: DIR/mygame, started without a display, ends with exit
# code 3 and names mygame-replay beside it.
names_its_runner() {
    local status=0 said expected
    said=$(cd "$1" && env -u DISPLAY -u WAYLAND_DISPLAY ./mygame 2>&1) || status=$?
    expected="No display is available to open the game's window; mygame-replay beside it plays the game without one and saves its frames as pictures."
    if [ "$status" -ne 3 ] || [ "$said" != "$expected" ]; then
        echo "$1/mygame without a display: exit code $status and: $said" >&2
        exit 1
    fi
}

case "$target" in
linux)
    prefix=$work/prefix
    cmake --preset engine -G Ninja >/dev/null
    cmake --build --preset engine -j "$jobs"
    cmake --install build/engine --prefix "$prefix" >/dev/null

    cmake -S examples/template -B "$work/template" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
    cmake --build "$work/template" -j "$jobs"
    ctest --test-dir "$work/template" --output-on-failure
    names_its_runner "$work/template"

    # Without CMake: the compiler and linker flags from pkg-config alone.
    export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
    template=$PWD/examples/template
    mkdir "$work/pkg-config"
    cp -r "$template/Images" "$work/pkg-config/"
    (
        cd "$work/pkg-config"
        # shellcheck disable=SC2046 # pkg-config's flags are a list of words
        g++ -o mygame "$template/game.cpp" $(pkg-config --cflags --libs corvane-sdl)
        # shellcheck disable=SC2046
        g++ -o mygame-replay "$template/game.cpp" \
            $(pkg-config --cflags --libs corvane-runner)
        ./mygame-replay --keys "none:10,right:30" --frames 50 --png-at 50 --out check \
            --golden "$template/mygame.png" --no-sound-device >/dev/null
    )
    names_its_runner "$work/pkg-config"
    echo "The template builds with pkg-config (corvane-sdl, corvane-runner) and its frame matches."

    cmake -S tests/installed -B "$work/installed" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
        -DPICTURE="$PWD/packaging/corvane.png" -DGAME_DIR="$prefix/lib/corvane/game" >/dev/null
    cmake --build "$work/installed" -j "$jobs"
    ctest --test-dir "$work/installed" --output-on-failure
    (
        cd "$work/pkg-config"
        # shellcheck disable=SC2046
        g++ -o picture_check "$OLDPWD/tests/installed/picture_check.cpp" \
            $(pkg-config --cflags --libs corvane-pictures corvane-headless)
        ./picture_check "$OLDPWD/packaging/corvane.png" "$work/installed/picture.tif"
    )
    echo "PictureFile builds with pkg-config (corvane-pictures, corvane-headless) and loads as corvane-asset converts."
    scripts/docs.sh
    ;;
windows)
    cmake --preset mingw64 -G Ninja >/dev/null
    cmake --build --preset mingw64 -j "$jobs"
    cmake --install build/mingw64 --prefix "$work/prefix" >/dev/null
    cmake -S examples/template -B "$work/template" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" \
        -DCMAKE_PREFIX_PATH="$work/prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$work/template" -j "$jobs"
    dlls=$(x86_64-w64-mingw32-objdump -p "$work/template/mygame.exe" | sed -n 's/.*DLL Name: //p')
    echo "mygame.exe needs: ${dlls//$'\n'/ }"
    for dll in $dlls; do
        case "${dll,,}" in
        kernel32.dll | user32.dll | gdi32.dll | ddraw.dll | dsound.dll | winmm.dll | msvcrt.dll) ;;
        *)
            echo "mygame.exe needs $dll, which Windows does not have" >&2
            exit 1
            ;;
        esac
    done
    (
        source tests/windows/wine_session.sh
        WINE_STATE="$PWD/build/mingw64/tests/windows/wine" # the Windows check's Wine prefix
        WORK="$work/wine"
        wine_begin 16
        cp -r examples/template/Images "$WORK/Images"
        wine_launch "$work/template/mygame.exe"
        window=$(wine_find_window 30 '^mygame\.exe$' '' 800 500)
        xdotool key --window "$window" Escape
        rc=$(wine_wait_exit 20)
        # A start-up that fails ends with exit code -1 after its box, not 0.
        [ "$rc" = 0 ] || die "mygame.exe ended with exit code $rc: $(tr '\r' ' ' 2>/dev/null <"$WORK/debug.txt")"
        note "mygame.exe ran under Wine and Escape ended it"
    )
    ;;
*)
    echo "usage: $0 [windows]" >&2
    exit 2
    ;;
esac
echo "The template builds against the installed engine ($target)."
