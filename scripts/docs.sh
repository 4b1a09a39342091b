#!/usr/bin/env bash
# Makes the reference of the public headers, the ones the engine installs, with
# Doxygen (docs/Doxyfile) in build/docs/html/ (index.html opens on the cheat
# sheet, docs/cheatsheet.md). Fails, naming each one, when a public declaration
# has no /// comment. On a fresh Debian machine it first installs what it needs
# (as root, or through sudo).
#   scripts/docs.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh

install_for build docs

# Configuring the engine's build (preset engine) writes what the reference is
# made from: the headers it installs, the first page, the version.
cmake --preset engine -G Ninja >/dev/null
out=$PWD/build/docs
rm -rf "$out"
mkdir -p "$out"
# The installed headers' paths, which hold no spaces: a list of words.
headers=$(grep -o '/[^ ]*\.h' build/engine/reference_inputs.doxy)

# doxygen_run DIR SETTINGS...: Doxygen on the headers, its warnings in DIR/warnings.txt.
doxygen_run() {
    local dir=$1
    shift
    mkdir -p "$dir"
    {
        cat docs/Doxyfile build/engine/reference_inputs.doxy
        echo "OUTPUT_DIRECTORY = $dir"
        echo "WARN_LOGFILE = $dir/warnings.txt"
        printf '%s\n' "$@"
    } | doxygen -
}

# The reference itself: one comment over a few declarations between ///@{ and
# ///@} documents each of them.
status=0
doxygen_run "$out" || status=$?

# Doxygen lends the first member's comment to every undocumented member of a
# group, sections (/// @name) included, so a second run lends nothing; what it
# finds undocumented inside a group without a name shares that group's comment.
doxygen_run "$out/check" "DISTRIBUTE_GROUP_DOC = NO" "GENERATE_HTML = NO" "WARN_AS_ERROR = NO" \
    2> >(grep -v "No output formats selected" >&2)
# shellcheck disable=SC2086 # a list of words
awk '
    FNR == 1 { named = 0; inside = 0 }
    /^ *\/\/\/ *@name/ { named = 1 }
    /^ *\/\/\/@\{/ { if (!named) { inside = 1; first = FNR } named = 0 }
    /^ *\/\/\/@\}/ { if (inside) print FILENAME ":" first ":" FNR; inside = 0 }
' $headers >"$out/check/shared.txt"
awk -F: '
    NR == FNR { from[NR] = $1; start[NR] = $2; end[NR] = $3; groups = NR; next }
    /is not documented/ {
        for (i = 1; i <= groups; i++)
            if ($1 == from[i] && $2 > start[i] && $2 < end[i]) next
    }
    { print }
' "$out/check/shared.txt" "$out/check/warnings.txt" >>"$out/warnings.txt"

# Doxygen checks a header's free declarations only when the header itself is
# documented, so each one must say /// @file.
# shellcheck disable=SC2013,SC2086 # a list of words
for header in $(grep -L '^/// @file' $headers); do
    echo "$header:1: error: the header has no /// @file comment" >>"$out/warnings.txt"
done
# Both runs name most gaps; each once.
sed -i "s/: error: /: warning: /" "$out/warnings.txt"
sort -u -o "$out/warnings.txt" "$out/warnings.txt"
if [ -s "$out/warnings.txt" ] || [ "$status" -ne 0 ]; then
    echo "docs.sh: the reference has gaps ($(grep -c . "$out/warnings.txt" || true) lines of warnings):" >&2
    sed "s#$PWD/##" "$out/warnings.txt" >&2
    exit 1
fi
echo "The reference is in $out/html/index.html."
