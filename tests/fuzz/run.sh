#!/bin/sh
# Builds the libFuzzer targets with clang, ASan and UBSan and runs each from its seed corpus,
# sharing SECONDS (first argument, default 60) evenly between them, one target at a time;
# further arguments go to libFuzzer (e.g. -seed=1). FUZZ_TARGETS picks targets (default
# "state process preset uidesc"); FUZZ_BUILD_DIR overrides the build folder (a clang tree
# configured with -DTESSALINE_FUZZ=ON may be shared with the sanitized test suite).
# `sh tests/fuzz/run.sh 3600` fuzzes for an hour. Every target runs even when one fails; the
# exit status is non-zero if any found a fault, and its reproducer is in $BUILD/fuzz-artifacts.
set -eu
SECONDS_TO_RUN="${1:-60}"
[ $# -gt 0 ] && shift
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
JOBS="${JOBS:-2}"
TARGETS="${FUZZ_TARGETS:-state process preset uidesc}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSALINE_FUZZ=ON -DTESSALINE_SANITIZE=address -DTESSALINE_BUILD_BENCH=OFF >/dev/null
count=0
for target in $TARGETS; do count=$((count + 1)); done
EACH=$((SECONDS_TO_RUN / count))
[ "$EACH" -ge 1 ] || EACH=1
for target in $TARGETS; do
  ninja -C "$BUILD" -j"$JOBS" "fuzz_$target"
done
mkdir -p "$BUILD/fuzz-artifacts"
failed=""
for target in $TARGETS; do
  # New inputs go to the work folder; the seeds in the source tree stay as they are.
  WORK="$BUILD/fuzz-corpus/$target"
  mkdir -p "$WORK"
  # Descriptions are long texts (the editor's own is 30 kB); the binary inputs are short.
  MAX_LEN=4096
  [ "$target" = uidesc ] && MAX_LEN=65536
  DICT=""
  [ -f "$ROOT/tests/fuzz/$target.dict" ] && DICT="-dict=$ROOT/tests/fuzz/$target.dict"
  echo "== fuzz_$target for $EACH s"
  if ! ASAN_OPTIONS="detect_leaks=0 ${ASAN_OPTIONS:-}" \
    "$BUILD/tests/fuzz/fuzz_$target" -max_total_time="$EACH" -max_len="$MAX_LEN" \
    -timeout=20 -print_final_stats=1 -artifact_prefix="$BUILD/fuzz-artifacts/$target-" \
    ${DICT:+"$DICT"} "$@" "$WORK" "$ROOT/tests/fuzz/corpus/$target" </dev/null; then
    failed="$failed $target"
  fi
done
if [ -n "$failed" ]; then
  echo "== fuzzing found faults in:$failed (reproducers in $BUILD/fuzz-artifacts)"
  exit 1
fi
