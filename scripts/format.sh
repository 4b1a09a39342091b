#!/usr/bin/env bash
# Keeps the tracked C++ files (*.cpp, *.h) as clang-format 14 lays them out
# with the repository's .clang-format. On a fresh Debian machine it first
# installs clang-format (as root, or through sudo).
#   scripts/format.sh           rewrites the files that drift
#   scripts/format.sh --check   changes nothing: names the files that drift and
#                               exits with 1 when there are any
# CLANG_FORMAT names another clang-format program (other versions lay some
# lines out differently).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
check=no
case "${1:-}" in
"") ;;
--check) check=yes ;;
*)
    echo "usage: $0 [--check]" >&2
    exit 2
    ;;
esac

# The package of the format row is also the program's name.
formatter=${CLANG_FORMAT:-$(packages_for format)}
[ -n "${CLANG_FORMAT:-}" ] || install_for format
command -v "$formatter" >/dev/null || { echo "format.sh: no $formatter here" >&2; exit 2; }

files=()
while IFS= read -r -d '' file; do files+=("$file"); done < <(git ls-files -z '*.cpp' '*.h')
drifting=()
for file in "${files[@]}"; do
    "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1 || drifting+=("$file")
done

if [ "$check" = yes ]; then
    if ((${#drifting[@]})); then
        echo "clang-format: ${#drifting[@]} of ${#files[@]} C++ files drift: ${drifting[*]}"
        echo "clang-format: scripts/format.sh rewrites them"
        exit 1
    fi
    echo "clang-format: all ${#files[@]} C++ files are clean"
    exit 0
fi
((${#drifting[@]} == 0)) || "$formatter" -i "${drifting[@]}"
echo "clang-format: ${#drifting[@]} of ${#files[@]} C++ files rewritten${drifting[*]:+: ${drifting[*]}}"
