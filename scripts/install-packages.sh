# shellcheck shell=bash
# The Debian packages the scripts need, by purpose, and how they install them.
# Sourced by the scripts: `install_for build tests` installs what building and
# testing need. Run on its own it prints the packages of the purposes named,
# for apt-get:  sudo apt-get install $(scripts/install-packages.sh windows wine)

declare -A PACKAGES=(
    # Compilers, CMake, pkg-config, and what the engine, the SDL program, the
    # pictures component and the tools link.
    [build]="build-essential cmake ninja-build pkg-config libsdl2-dev libpng-dev libtiff-dev"
    # The test and benchmark libraries.
    [tests]="libgtest-dev libgmock-dev libbenchmark-dev"
    # The formatter the tracked C++ files are kept clean with (scripts/format.sh).
    [format]="clang-format-14"
    # The reference made from the public headers (scripts/docs.sh).
    [docs]="doxygen"
    # What the checks that play in a real window use: a private X server, input,
    # screenshots, and a window manager for the switch to full screen.
    [display]="xvfb xdotool x11-apps x11-utils imagemagick openbox"
    # The fuzz targets: clang with libFuzzer and the sanitizers, and libtiff,
    # through which the asset tool's readers go.
    [fuzz]="clang-14 libclang-rt-14-dev llvm-14 libtiff-dev"
    # The cross compilers of the 32- and 64-bit Windows builds.
    [windows]="mingw-w64 mingw-w64-common g++-mingw-w64-i686 g++-mingw-w64-x86-64"
    # Wine, to run the Windows builds, with Mesa for its OpenGL renderer.
    [wine]="wine wine64 libgl1-mesa-dri"
    # Wine's 32-bit part, where the kernel runs 32-bit programs (install_wine32).
    [wine32]="wine32:i386 libgl1-mesa-dri:i386"
    # Making the players' packages, and checking the Debian one.
    [packages]="dpkg-dev file binutils lintian"
    # The browser build, its checks in headless Chromium, and GoogleTest's sources
    # for the web backend's tests.
    [browser]="emscripten chromium chromium-driver python3-selenium googletest"
)

# The purposes, sorted, on one line.
purposes() {
    printf '%s\n' "${!PACKAGES[@]}" | sort | paste -sd ' '
}

# packages_for PURPOSE...: prints the packages of the purposes, on one line.
packages_for() {
    local purpose names=()
    for purpose in "$@"; do
        if [ -z "${PACKAGES[$purpose]:-}" ]; then
            echo "install-packages.sh: no purpose \"$purpose\" (there are: $(purposes))" >&2
            return 2
        fi
        # shellcheck disable=SC2206 # each row is a list of words
        names+=(${PACKAGES[$purpose]})
    done
    echo "${names[*]}"
}

# install_for PURPOSE...: installs the packages of the purposes that are not
# installed yet.
install_for() {
    local names
    names=$(packages_for "$@") || return 2
    # shellcheck disable=SC2086 # a list of words
    install_packages $names
}

# install_packages NAME...: installs the Debian packages among NAME... that are
# not installed yet (as root, or through sudo), in one line that says how many
# installed packages this upgrades (Wine upgrades dozens of system libraries it
# depends on); apt-get's and dpkg's own lines go to a log shown only when the
# installation fails.
install_packages() {
    local missing=() p log upgrades status=0
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    as_root apt-get update -qq -o DPkg::Lock::Timeout=300 ||
        echo "apt-get update failed (above); installing from the package lists there are."
    upgrades=$(apt-get install -s "${missing[@]}" 2>/dev/null | grep -c '^Inst [^ ]* \[') || true
    if [ "${upgrades:-0}" -gt 0 ]; then
        echo "Installing: ${missing[*]}, which upgrades $upgrades installed system packages"
    else
        echo "Installing: ${missing[*]}"
    fi
    log=$(mktemp)
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        -o DPkg::Lock::Timeout=300 -o Dpkg::Use-Pty=0 "${missing[@]}" >"$log" 2>&1 || status=$?
    if ((status != 0)); then
        echo "apt-get could not install them (exit code $status); the end of its log:" >&2
        tail -n 30 "$log" >&2
    fi
    rm -f "$log"
    return "$status"
}

# as_root COMMAND...: runs COMMAND as root, through sudo unless the script is root.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Whether this kernel runs 32-bit x86 programs, found by running one: a static
# program of three instructions that exits with status 0.
runs_32_bit_programs() {
    local dir status=0
    dir=$(mktemp -d)
    # shellcheck disable=SC2016 # $1 and $0x80 are the assembler's
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
    { as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" &&
        "$dir/exit"; } 2>/dev/null || status=$?
    rm -rf "$dir"
    return "$status"
}

# install_wine32: where this kernel runs 32-bit programs, installs Wine's
# 32-bit part (which comes with Debian's i386 architecture) and succeeds;
# otherwise says in one line why there is none, and fails.
install_wine32() {
    if ! runs_32_bit_programs; then
        echo "This kernel does not run 32-bit programs, so there is no 32-bit Wine."
        return 1
    fi
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    if ! install_for wine32; then
        echo "Wine's 32-bit part could not be installed (above)."
        return 1
    fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    (($#)) || { echo "usage: $0 PURPOSE... (purposes: $(purposes))" >&2; exit 2; }
    packages_for "$@"
fi
