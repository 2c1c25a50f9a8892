#!/bin/sh
# Sanitizer runs of the host adapter:
#  1. ThreadSanitizer: the threads tests (main-thread state, preset and parameter changes and
#     the editor's calls into the DSP object, against a processing thread; the host's threads
#     meeting in the VST2 wrapper). They run in the normal suite too; here only their
#     executables are built, and CTest picks them by label "tsan".
#  2. AddressSanitizer + UndefinedBehaviorSanitizer (clang): the whole test suite but the JUCE host
#     and the package test. The tree also carries libFuzzer's coverage instrumentation, so the fuzz
#     targets build in it without a third full build (tests/fuzz/run.sh with FUZZ_BUILD_DIR).
# Build folders default to build-tsan and build-asan beside the sources; override them with
# TSAN_BUILD_DIR and ASAN_BUILD_DIR. JOBS (default 2) limits parallel compiles.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
TSAN_DIR="${TSAN_BUILD_DIR:-$ROOT/build-tsan}"
ASAN_DIR="${ASAN_BUILD_DIR:-$ROOT/build-asan}"
JOBS="${JOBS:-2}"
COMMON="-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALINE_BUILD_BENCH=OFF"

echo "== ThreadSanitizer: $TSAN_DIR"
# shellcheck disable=SC2086
cmake -S "$ROOT" -B "$TSAN_DIR" $COMMON -DTESSALINE_SANITIZE=thread >/dev/null
ninja -C "$TSAN_DIR" -j"$JOBS" test_adapter_threads test_vst2_threads
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}" \
  ctest --test-dir "$TSAN_DIR" -L tsan --output-on-failure

echo "== AddressSanitizer + UBSan: $ASAN_DIR"
# shellcheck disable=SC2086
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ASAN_DIR" $COMMON -DTESSALINE_SANITIZE=address \
  -DTESSALINE_JUCE_HOST=OFF -DTESSALINE_FUZZ=ON >/dev/null
# The build runs our generators (presets, module information) on the sanitized module; their
# leak reports would only repeat what the suite checks, so leaks are checked in the suite alone.
ASAN_OPTIONS="detect_leaks=0" ninja -C "$ASAN_DIR" -j"$JOBS"
ASAN_OPTIONS="detect_leaks=1 ${ASAN_OPTIONS:-}" \
  LSAN_OPTIONS="suppressions=$ROOT/tests/vstgui/lsan.supp ${LSAN_OPTIONS:-}" UBSAN_OPTIONS="print_stacktrace=1 ${UBSAN_OPTIONS:-}" \
  ctest --test-dir "$ASAN_DIR" -j"$JOBS" -LE package --output-on-failure
