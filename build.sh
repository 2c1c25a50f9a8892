#!/bin/sh
# One-stop build: installs what is missing, configures, builds, then
#   ./build.sh        the product (the plug-in as VST3, VST2 and LV2, `tessaline`), and renders
#                     the demo through it
#   ./build.sh test   the product with the tests, benchmarks and the JUCE host, and runs the suite
# Each installs only its own packages (tools/bootstrap.sh product|test). The same build folder
# serves both: each run configures it for its purpose.
# TESSALINE_WERROR=ON in the environment makes warnings in our code errors (CI sets it).
set -eu
cd "$(dirname "$0")"
job=${1:-run}
case "$job" in
  run) purpose=product checks=OFF ;;
  test) purpose=test checks=ON ;;
  *)
    echo "usage: ./build.sh [test]" >&2
    exit 2
    ;;
esac
tools/bootstrap.sh "$purpose"
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTESSALINE_BUILD_TESTS="$checks" -DTESSALINE_BUILD_BENCH="$checks" \
  ${TESSALINE_WERROR:+-DTESSALINE_WERROR="$TESSALINE_WERROR"} >/dev/null
cmake --build "$BUILD_DIR"
case "$job" in
  test)
    # The panel's window tests need an X server: without one, a virtual one for the run.
    if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
      xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
    else
      ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
    fi
    ;;
  run)
    "$BUILD_DIR"/tessaline render --demo "$BUILD_DIR"/tessaline-demo.wav
    ;;
esac
