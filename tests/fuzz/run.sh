#!/bin/sh
# Builds the libFuzzer targets with clang, ASan and UBSan and runs each from its seed corpus,
# sharing SECONDS (first argument, default 60) evenly between them; further arguments go to
# libFuzzer (e.g. -seed=1). FUZZ_TARGETS picks targets (default "state process preset");
# FUZZ_BUILD_DIR overrides the build folder. `sh tests/fuzz/run.sh 3600` fuzzes for an hour.
set -eu
SECONDS_TO_RUN="${1:-60}"
[ $# -gt 0 ] && shift
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
JOBS="${JOBS:-2}"
TARGETS="${FUZZ_TARGETS:-state process preset}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSALINE_FUZZ=ON -DTESSALINE_SANITIZE=address -DTESSALINE_BUILD_BENCH=OFF >/dev/null
count=0
for target in $TARGETS; do count=$((count + 1)); done
EACH=$((SECONDS_TO_RUN / count))
[ "$EACH" -ge 1 ] || EACH=1
for target in $TARGETS; do
  ninja -C "$BUILD" -j"$JOBS" "fuzz_$target"
done
for target in $TARGETS; do
  # New inputs go to the work folder; the seeds in the source tree stay as they are.
  WORK="$BUILD/fuzz-corpus/$target"
  mkdir -p "$WORK"
  echo "== fuzz_$target for $EACH s"
  ASAN_OPTIONS="detect_leaks=0 ${ASAN_OPTIONS:-}" \
    "$BUILD/tests/fuzz/fuzz_$target" -max_total_time="$EACH" -max_len=4096 \
    -timeout=20 -print_final_stats=1 "$@" "$WORK" "$ROOT/tests/fuzz/corpus/$target"
done
