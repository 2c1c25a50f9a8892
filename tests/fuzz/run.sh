#!/bin/sh
# Builds the adapter fuzz target with clang, ASan and UBSan and runs it for N seconds
# (first argument, default 60) from the seed corpus; further arguments go to libFuzzer
# (e.g. -seed=1). FUZZ_BUILD_DIR overrides the build folder.
set -eu
SECONDS_TO_RUN="${1:-60}"
[ $# -gt 0 ] && shift
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
JOBS="${JOBS:-2}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSALINE_FUZZ=ON -DTESSALINE_SANITIZE=address -DTESSALINE_BUILD_BENCH=OFF >/dev/null
ninja -C "$BUILD" -j"$JOBS" fuzz_adapter
WORK="$BUILD/fuzz-corpus"
mkdir -p "$WORK"
# New inputs go to the work folder; the seeds in the source tree stay as they are.
ASAN_OPTIONS="detect_leaks=0 ${ASAN_OPTIONS:-}" \
  "$BUILD/tests/fuzz/fuzz_adapter" -max_total_time="$SECONDS_TO_RUN" -max_len=4096 \
  -timeout=20 -print_final_stats=1 "$@" "$WORK" "$ROOT/tests/fuzz/corpus"
