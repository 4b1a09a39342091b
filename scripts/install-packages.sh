# shellcheck shell=bash
# Sourced by the scripts.

# install_packages NAME... installs the Debian packages among NAME... that are
# not installed yet (as root, or through sudo).
install_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
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
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
    { as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" &&
        "$dir/exit"; } 2>/dev/null || status=$?
    rm -rf "$dir"
    return "$status"
}

# install_wine32: where this kernel runs 32-bit programs, installs the 32-bit
# Wine (wine32:i386, which comes with Debian's i386 architecture) and succeeds;
# elsewhere fails, installing nothing.
install_wine32() {
    runs_32_bit_programs || return 1
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    install_packages wine32:i386
}
