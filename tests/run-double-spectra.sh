#!/bin/sh
# The engine and room tests in a build that keeps the convolver's spectra in double precision
# (-DTESSALINE_DOUBLE_SPECTRA=ON), the precision the single-precision default is checked
# against. Only those test programs are built. BUILD_DIR defaults to build-double.
set -eu
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build-double}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALINE_DOUBLE_SPECTRA=ON \
  ${TESSALINE_WERROR:+-DTESSALINE_WERROR="$TESSALINE_WERROR"} >/dev/null
targets="engine_fft_test engine_convolver_test engine_shaping_test engine_delay_test engine_allocation_test
room_stage_test room_effect_test"
# shellcheck disable=SC2086
cmake --build "$dir" --target $targets
# The tests of those programs only (the rest of the tree is not built here).
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" \
  -R '^(SimdKernels|Fft|Convolver|Shapes/|PartitionSpectra|RoomShaping|DelayLine|Allocation|WholeEar|PositionLoading|TessalineProcessing|TessalineRouting|TessalineControl|Controls/|SpectrumPrecision|PowersOfTwo/FftSizes|Rates/SpectrumPrecision|RoomRuns|Changes/MovingControls)'
