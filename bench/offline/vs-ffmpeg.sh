#!/usr/bin/env bash
# Offline rendering speed: `tessaline render --no-tail` of stereo pink noise beside ffmpeg's
# afir convolving the same noise with the room's own impulse response (`tessaline ir`, 69,888
# samples), both on one thread, in alternating rounds; prints each round, the medians of the
# wall times and Tessaline's share of ffmpeg's time.
#
# Needs ffmpeg (5.1 or later, for afir's gtype): apt-get install ffmpeg
#
#   bench/offline/vs-ffmpeg.sh [TESSALINE] [ROUNDS] [SECONDS]
#   TESSALINE  the command-line tool (default build/tessaline), which finds its bundle beside it
#   ROUNDS     alternating rounds (default 5)
#   SECONDS    length of the noise (default 300)
#
# afir runs with its default partitions (8192 samples), no gain normalisation (gtype=none), its
# input and output gains (dry, wet) at 1 (afir adds no dry signal), on one thread (-threads 1
# -filter_threads 1 -filter_complex_threads 1). Both write 32-bit float WAV into a temporary
# folder. The tool renders through the bundle as a DAW's export does.
set -euo pipefail

tool=${1:-build/tessaline}
rounds=${2:-5}
seconds=${3:-300}

command -v ffmpeg >/dev/null || { echo "vs-ffmpeg.sh: needs ffmpeg (apt-get install ffmpeg)" >&2; exit 2; }
[[ -x $tool ]] || { echo "vs-ffmpeg.sh: no tool at $tool (build it first)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two independent pink-noise channels at 48 kHz, -6 dBFS peak-ish, as 32-bit float.
ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i "anoisesrc=color=pink:sample_rate=48000:duration=$seconds:seed=1:amplitude=0.5" \
    -f lavfi -i "anoisesrc=color=pink:sample_rate=48000:duration=$seconds:seed=2:amplitude=0.5" \
    -filter_complex "[0:a][1:a]amerge=inputs=2" -c:a pcm_f32le "$work/noise.wav"
"$tool" ir "$work/ir.wav" >/dev/null

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

run_tessaline() {
    "$tool" render "$work/noise.wav" "$work/tessaline.wav" --no-tail >/dev/null
}
run_ffmpeg() {
    ffmpeg -hide_banner -loglevel error -y -threads 1 -filter_threads 1 -filter_complex_threads 1 \
        -i "$work/noise.wav" -i "$work/ir.wav" \
        -filter_complex "[0:a][1:a]afir=gtype=none:dry=1:wet=1[out]" -map "[out]" \
        -c:a pcm_f32le "$work/ffmpeg.wav"
}

# One warm-up of each (page cache, the bundle's first load), then the rounds.
run_tessaline
run_ffmpeg
tess=()
ff=()
for ((r = 1; r <= rounds; ++r)); do
    t0=$(now); run_tessaline; t1=$(now); run_ffmpeg; t2=$(now)
    tess+=("$(elapsed "$t0" "$t1")")
    ff+=("$(elapsed "$t1" "$t2")")
    echo "round $r: tessaline ${tess[-1]} s, ffmpeg ${ff[-1]} s"
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
mt=$(median "${tess[@]}")
mf=$(median "${ff[@]}")
echo "median of $rounds rounds, $seconds s of stereo noise at 48 kHz:"
echo "  tessaline render --no-tail  $mt s"
echo "  ffmpeg afir (one thread)    $mf s"
awk -v t="$mt" -v f="$mf" 'BEGIN { printf "  ratio tessaline / ffmpeg    %.2f (target <= 0.80)\n", t / f }'
