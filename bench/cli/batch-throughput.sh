#!/bin/sh
# Throughput of `tessaline render` batches (not run in CI; run it on an otherwise idle machine):
#   1. 200 ten-second 48 kHz files rendered with --jobs 1 and --jobs 2, and the speed-up;
#   2. files per second for a corpus of 2,000 one-second 16 kHz files with --vary over the
#      position and the three absorptions.
# usage: bench/cli/batch-throughput.sh [path/to/tessaline] [jobs for the corpus, default: all]
set -eu

tool=${1:-build/tessaline}
corpusJobs=${2:-$(nproc)}
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaline-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

# Quiet noise (about -20 dBFS), one file copied: the content does not change the work.
noise() { # noise FILE RATE SECONDS
  python3 - "$1" "$2" "$3" <<'PY'
import array, random, sys, wave
path, rate, seconds = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
random.seed(1)
samples = array.array('h', (random.randint(-3300, 3300) for _ in range(int(rate * seconds))))
with wave.open(path, 'wb') as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(rate); w.writeframes(samples.tobytes())
PY
}

# timed VAR COMMAND...: the wall-clock seconds into VAR, the CPU seconds into VAR_cpu.
timed() {
  var=$1; shift
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null
  read -r wall user system < "$work/time"
  eval "$var=$wall; ${var}_cpu=$(echo "$user + $system" | bc -l)"
}

mkdir -p "$work/takes" "$work/out1" "$work/out2" "$work/corpus" "$work/varied"
noise "$work/take.wav" 48000 10
for i in $(seq -w 1 200); do cp "$work/take.wav" "$work/takes/take$i.wav"; done

timed one "$tool" render "$work"/takes/*.wav -o "$work/out1" --jobs 1
timed two "$tool" render "$work"/takes/*.wav -o "$work/out2" --jobs 2
# The CPU time shows what a busy machine hides: two jobs doing the same work as one, in parallel.
printf '200 x 10 s files: --jobs 1 %.2f s (CPU %.2f s), --jobs 2 %.2f s (CPU %.2f s), speed-up %.2fx\n' \
  "$one" "$one_cpu" "$two" "$two_cpu" "$(echo "$one / $two" | bc -l)"

noise "$work/utterance.wav" 16000 1
for i in $(seq -w 1 2000); do cp "$work/utterance.wav" "$work/corpus/utt$i.wav"; done
timed corpus "$tool" render "$work"/corpus/*.wav -o "$work/varied" --jobs "$corpusJobs" --seed 1 \
  --vary Position=Center,L22,L32,L45,L64,L90,R22,R32,R45,R64,R90 \
  --vary "Abs L-R=0:14" --vary "Abs F-B=0:14" --vary "Abs C-F=0:14"
printf '2000 x 1 s 16 kHz files, --vary, --jobs %s: %.2f s (CPU %.2f s), %.1f files/s\n' "$corpusJobs" \
  "$corpus" "$corpus_cpu" "$(echo "2000 / $corpus" | bc -l)"
