#!/bin/sh
# Checks that every relative link and image in the project's Markdown pages names a file or
# folder that exists: inline links and images, [text](target) and ![alt](target), outside code
# fences and code spans. Web and mail addresses and in-page anchors are not checked; a target's
# "#anchor" part is dropped before the look-up.
# Usage: tools/checklinks.sh [ROOT]   (default: the source tree; pages README.md, CONTRIBUTING.md
# and docs/*.md under ROOT). Exits 1 naming each broken link as FILE:LINE: TARGET.
set -eu
root=${1:-"$(dirname "$0")/.."}
cd "$root"
status=0
for page in README.md CONTRIBUTING.md docs/*.md; do
    [ -f "$page" ] || continue
    dir=$(dirname "$page")
    awk '
        /^[ \t]*(```|~~~)/ { fenced = !fenced; next }
        fenced { next }
        {
            line = $0
            gsub(/`[^`]*`/, "", line)
            while (match(line, /\]\([^)]*\)/)) {
                target = substr(line, RSTART + 2, RLENGTH - 3)
                line = substr(line, RSTART + RLENGTH)
                sub(/^[ \t]+/, "", target)
                sub(/[ \t]+"[^"]*"$/, "", target)
                sub(/[ \t]+$/, "", target)
                if (target ~ /^(https?|mailto|ftp):/ || target ~ /^#/ || target == "") continue
                sub(/#.*/, "", target)
                print NR "\t" target
            }
        }' "$page" >"${TMPDIR:-/tmp}/checklinks.$$"
    while IFS="$(printf '\t')" read -r n target; do
        case $target in
            /*) path=.$target ;;
            *) path=$dir/$target ;;
        esac
        if [ ! -e "$path" ]; then
            echo "links: $page:$n: $target does not exist" >&2
            status=1
        fi
    done <"${TMPDIR:-/tmp}/checklinks.$$"
    rm -f "${TMPDIR:-/tmp}/checklinks.$$"
done
[ "$status" -eq 0 ] && echo "links: every relative link and image resolves"
exit "$status"
