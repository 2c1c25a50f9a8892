#!/bin/sh
# Formats our C++ sources with the tree's .clang-format, in place.
#   tools/format.sh              every tracked .cpp and .h file
#   tools/format.sh FILE...      only the files given
# Needs clang-format (Debian package clang-format).
set -eu
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
    echo "tools/format.sh: clang-format not found (apt-get install clang-format)" >&2
    exit 2
fi
if [ "$#" -gt 0 ]; then
    clang-format -i --style=file "$@"
else
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i --style=file
fi
