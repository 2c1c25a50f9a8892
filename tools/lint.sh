#!/bin/sh
# The tree's checks that are not tests:
#   1. every tracked .cpp and .h file is formatted as .clang-format says (tools/format.sh fixes it);
#   2. every header of source/ and standin/, and every .cpp there without a header, opens with a
#      comment line saying what it is for;
#   3. every test file (one that defines GoogleTest cases) is named Test<Subject>.cpp;
#   4. every relative link and image of README.md, CONTRIBUTING.md and docs/*.md resolves
#      (tools/checklinks.sh);
#   5. clang-tidy, with the checks .clang-tidy names, is clean on source/.
# Usage: tools/lint.sh [BUILD_DIR]   (default build; it needs the compile_commands.json a
# configured tree writes, and the generated headers a build makes)
# Needs clang-format and clang-tidy (Debian packages clang-format, clang-tidy).
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
status=0
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror --style=file; then
    echo "lint: files above are not formatted; run tools/format.sh" >&2
    status=1
fi
for f in $(git ls-files 'source/*.h' 'source/*.cpp' 'standin/*.h' 'standin/*.cpp'); do
    case $f in *.cpp) [ -f "${f%.cpp}.h" ] && continue ;; esac
    case $(head -n 1 "$f") in
        //* | /\**) ;;
        *) echo "lint: $f does not open with a line on its purpose" >&2; status=1 ;;
    esac
done
for f in $(git ls-files 'tests/*.cpp' | xargs grep -l -E '^(TEST|TEST_F|TEST_P)\(' || true); do
    case $(basename "$f") in
        Test[A-Z]*.cpp) ;;
        *) echo "lint: $f defines tests; name it Test<Subject>.cpp" >&2; status=1 ;;
    esac
done
if ! sh tools/checklinks.sh >/dev/null; then
    echo "lint: the pages above link to files that do not exist" >&2
    status=1
fi
if [ ! -f "$build/compile_commands.json" ]; then
    echo "lint: $build/compile_commands.json not found; configure and build first" >&2
    exit 2
fi
# Only C++ translation units of source/ (the bank's assembly file is not C++).
if ! run-clang-tidy -quiet -p "$build" -j "$(nproc)" -extra-arg=-w "^$PWD/source/.*\.cpp\$" \
        >"$build/clang-tidy.log" 2>&1; then
    sed "s/\x1b\[[0-9;]*m//g" "$build/clang-tidy.log" | grep -E "(warning|error): " | sort -u >&2 || cat "$build/clang-tidy.log" >&2
    echo "lint: clang-tidy found the faults above (full log: $build/clang-tidy.log)" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "lint: formatting and clang-tidy clean"
exit "$status"
