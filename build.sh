#!/bin/sh
# One-stop build: installs what is missing, configures, builds, then
#   ./build.sh        runs the main job (see README)
#   ./build.sh test   runs the test suite
# TESSALINE_WERROR=ON in the environment makes warnings in our code errors (CI sets it).
set -eu
cd "$(dirname "$0")"
tools/bootstrap.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  ${TESSALINE_WERROR:+-DTESSALINE_WERROR="$TESSALINE_WERROR"} >/dev/null
cmake --build "$BUILD_DIR"
case "${1:-run}" in
  test)
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
    ;;
  run)
    "$BUILD_DIR"/tessaline render --demo "$BUILD_DIR"/tessaline-demo.wav
    ;;
  *)
    echo "usage: ./build.sh [test]" >&2
    exit 2
    ;;
esac
