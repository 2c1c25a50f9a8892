// tessaline_irgen: builds the room-response bank of Tessaline.
//
// Usage: tessaline_irgen <bank.bin> [<picture.png>] [--report]
//        tessaline_irgen --measure <bank.bin> [<picture.png>]   (report and picture of an
//                                                                existing bank)
// Writes 33 tables of 69632 little-endian IEEE-754 doubles back to back (18,382,848 bytes):
// table k belongs to position 10 - k/3 and holds its CF, LR or FB component for k mod 3 = 0, 1,
// 2. The output is bit-identical on every run (fixed seeds, no standard distributions).
//
// THE ROOM (the numbers live in Room.h)
// - A rectangular room 7 m wide, 8 m long and 4 m high (224 m^3, 232 m^2).
// - The listener's head (a sphere of radius 8.75 cm, ears on the left-right axis) is 3.2 m from
//   the left wall, 3.0 m from the back wall and 1.7 m above the floor (standing), facing the
//   front wall. It is 0.3 m left of the room's centre line, so even a centred source has
//   different left and right reflections.
// - Eleven source positions at 1.8 m height on a circle round the head: centre, and 22, 32, 45,
//   64 and 90 degrees to the left and to the right. The distance (2.50 to 2.59 m) brings the
//   direct sound to the nearer ear (both ears for the centre) at sample 322 of 44.1 kHz.
// - The source is flat: on its axis, which points at the listener, it adds nothing to the
//   sound, since the input already carries its own spectrum and a reverb that filtered it again
//   would sound muffled on every input. It is omnidirectional in the bass and narrows towards
//   the treble (amplitude 1 - b + b cos(angle off axis), b = 0 0 0.05 0.15 0.3 0.45 0.55 at the
//   octaves below: a directivity index of 5 dB at 8 kHz, as voices, instruments and small
//   loudspeakers have), so the room it feeds rolls off gradually from 1 kHz; it radiates no DC.
// - Materials, absorption coefficient at 125 / 250 / 500 / 1k / 2k / 4k / 8k Hz:
//     left and right walls, wood panelling   0.090 0.072 0.053 0.049 0.053 0.058 0.063
//     front and back walls, painted brick    0.036 0.032 0.027 0.032 0.032 0.032 0.032
//     floor, sealed wood                     0.063 0.053 0.045 0.045 0.045 0.045 0.045
//     ceiling, plaster                       0.081 0.067 0.053 0.045 0.045 0.045 0.045
//   In between, coefficients are blended smoothly in log frequency (a smooth step whose first
//   three derivatives vanish at the band centres), so they never step at a band edge.
// - Air at 25 degrees C, 90 % relative humidity and 101.325 kPa, its absorption computed at every
//   frequency from the ISO 9613-1 formula: 0.2 0.9 2.8 6.4 11 21 56 dB/km at the octaves above
//   and 195 dB/km at 16 kHz. Warm, humid air absorbs the least at the top; even so its f^2 law
//   makes the tail's top third-octaves fall faster than any smooth trend (see THE TONE).
// - Eyring's formula gives reverberation times of 2.19 2.64 3.23 3.14 2.84 2.40 1.59 s at the
//   octaves and 0.70 s at 16 kHz: a slow room on purpose, since the plug-in's decay envelopes
//   shape the audible decay and the tables must leave them room. Each table's own
//   backward-integrated energy falls 10 dB within 15,300 to 18,940 samples and 10 dB more every
//   further 18,500 to 20,500.
// - The bank is band-limited by a smooth fall from 15 to 19.5 kHz (16.3 to 21.2 kHz played at
//   48 kHz), so the arrivals' kernels are short and the top of the band, where the air leaves
//   almost no reverberation, does not let the direct sound outweigh the slow decay.
//
// THE MODEL
// - Image sources of the box up to 0.06 s of path (161 per position). Each arrival's response is
//   computed at every frequency bin of a 16384-point FFT: spherical spreading 1/r, the pressure
//   reflection factor sqrt(1 - alpha(f)) of every wall it met, the air's attenuation over its
//   path, the source's directivity in the direction it left the source, the head shadow at the
//   ear and the band limit; times the phase of its exact fractional arrival time at each ear.
//   All arrivals are summed in the frequency domain, one inverse FFT per component.
// - Binaural receiver: per ear, the Woodworth path round the sphere gives the interaural time
//   difference (up to 0.66 ms), and a one-pole/one-zero head-shadow filter (Brown and Duda),
//   evaluated at every bin, the level difference (treble +6 dB facing the ear, down to about
//   -20 dB in the shadow), a smooth shelf with no band edges: the nearer ear's direct sound
//   stays within 3 dB of its mean from 400 Hz to 16 kHz at every position.
// - Late diffuse tail: flat noise (random phases, the magnitude of every bin of every 93 ms frame
//   held at its expectation, so narrow bass bands do not wander by chance; SplitMix64, seeded
//   per position and stream) shaped in 1024-sample Hann frames every 256 samples, each filtered
//   per FFT bin: every bin starts at the energy per second the image sources deliver between
//   0.02 and 0.035 s at that frequency and decays at its own Eyring rate (walls and air at that
//   frequency). The slowest rate is applied sample by sample, the frames add each bin's faster
//   decay on top. Each ear gets its own stream, the right one mixed with the left to a
//   diffuse-field coherence of 0.2 and 0.1 at 125 and 250 Hz and 0 from 500 Hz up; LR is half
//   their difference, and their common half is split between FB and CF with a third stream so
//   that the two are incoherent. Images fade out and the tail fades in (quarter cosine and sine)
//   between 0.035 and 0.06 s: the room is small enough for its field to be mixed by then, and
//   from then on the interaural share no longer depends on the position.
// - A causal second-order 20 Hz high-pass on every table (the source radiates no DC) and a fade-in
//   over the first 256 samples, which removes the millionth-of-the-peak acausal ringing that the
//   later arrivals' zero-phase kernels leave ahead of the direct sound.
// - A fade over the last 7680 samples of every table (room/BankTailFade.h): a further fall of
//   65 dB * x^1.75, so that the room's response decays to at least 60 dB below its loudest 10 ms
//   by its last sample at every setting and every sample rate, without changing the default
//   room. The tables are played sample for sample, so only a fade in samples reaches the end at
//   384 kHz, where the response lasts 0.18 s and the envelopes hardly act.
// - The whole bank is scaled so that its largest magnitude is 0.75.
//
// THE TONE (printed by --report, at the plug-in's default setting played at 48 kHz; see
// ToneMeasures.h): third-octave levels of the nearer ear's first 2.5 ms, of the first 50 ms and
// of the late tail 200-600 ms after the direct sound, with the largest step between neighbours
// and the largest distance from a second-order trend in log frequency. Over all positions and
// ears: the direct sound stays within 3.0 dB of its mean from 400 Hz to 16 kHz. The first 50 ms
// step by up to 7.4 dB between the 250, 315 and 400 Hz bands and 5.9 dB between 400 and 500 Hz,
// where the floor reflection (1.8 m longer than the direct path) notches the sound near 310 and
// 520 Hz, and by at most 3.8 dB from 500 Hz up. The late tail steps by at most 3.9 dB from
// 100 Hz to 12.5 kHz and keeps within 2.3 dB of its trend there, but the air's f^2 law takes its
// top third-octave (16 kHz: 14.7 kHz of the tables) 5 to 6 dB below 12.5 kHz, 3.2 to 3.8 dB off
// a trend that also fits the bass.
//
// THE DECOMPOSITION
// The tables hold components, not ears: left = FB + CF + LR and right = FB + CF - LR, so
// LR = (left - right) / 2 is the interaural difference and FB + CF = (left + right) / 2 the common
// part. The common part of each arrival is split between FB and CF by its path: each bounce votes
// for its pair of surfaces (front/back walls for FB, ceiling/floor for CF), side-wall bounces vote
// half for each (what they add of their own is interaural, and lives in LR), and the direct sound
// is shared equally. The diffuse tail's common part is split by energy in the proportion the
// arrivals it continues give FB and CF. So the FB volume scales the front/back-wall reflections,
// the CF volume the ceiling and floor reflections, the LR volume the width of the image, and the
// direct sound follows FB and CF together.

#include "Arrivals.h"
#include "BankPicture.h"
#include "BankReport.h"
#include "DiffuseTail.h"
#include "EarlyReflections.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
using namespace irgen;

constexpr uint64_t kSeed = 0x7E55A11E0000ull;
constexpr double kBankPeak = 0.75;

std::vector<double> buildBank()
{
    std::vector<double> bank(static_cast<size_t>(kTables) * kResponseLength, 0.0);
    for (int position = 0; position < kPositions; ++position)
    {
        const std::vector<Arrival> arrivals = traceArrivals(position);
        PositionTables tables;
        renderArrivals(arrivals, tables);
        renderDiffuseTail(arrivals, kSeed + static_cast<uint64_t>(position), tables);
        removeSubsonic(tables);
        fadeInLeadIn(tables);
        fadeOutTail(tables);
        const int cf = 30 - 3 * position;
        const std::vector<double>* parts[3] = {&tables.cf, &tables.lr, &tables.fb};
        for (int c = 0; c < 3; ++c)
            std::copy(parts[c]->begin(), parts[c]->end(),
                      bank.begin() + static_cast<long>(cf + c) * kResponseLength);
    }
    double maxAbs = 0.0;
    for (double v : bank)
        maxAbs = std::max(maxAbs, std::fabs(v));
    for (double& v : bank)
        v *= kBankPeak / maxAbs;
    return bank;
}

bool writeLittleEndian(const std::vector<double>& bank, const char* path)
{
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    std::vector<unsigned char> bytes(bank.size() * 8);
    for (size_t i = 0; i < bank.size(); ++i)
    {
        uint64_t bits;
        std::memcpy(&bits, &bank[i], 8);
        for (int b = 0; b < 8; ++b)
            bytes[i * 8 + b] = static_cast<unsigned char>(bits >> (8 * b));
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return (std::fclose(f) == 0) && written;
}

// Reads a bank written by writeLittleEndian, to measure it without building it.
bool readLittleEndian(const char* path, std::vector<double>& bank)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::vector<unsigned char> bytes(static_cast<size_t>(kTables) * kResponseLength * 8);
    const bool complete = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    std::fclose(f);
    if (!complete)
        return false;
    bank.resize(bytes.size() / 8);
    for (size_t i = 0; i < bank.size(); ++i)
    {
        uint64_t bits = 0;
        for (int b = 7; b >= 0; --b)
            bits = (bits << 8) | bytes[i * 8 + static_cast<size_t>(b)];
        std::memcpy(&bank[i], &bits, 8);
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--measure") == 0)
    {
        std::vector<double> existing;
        if (!readLittleEndian(argv[2], existing))
        {
            std::fprintf(stderr, "tessaline_irgen: cannot read a bank from %s\n", argv[2]);
            return 1;
        }
        printBankReport(existing);
        if (argc == 4 && !writeBankPicture(existing, argv[3]))
        {
            std::fprintf(stderr, "tessaline_irgen: cannot write %s\n", argv[3]);
            return 1;
        }
        return 0;
    }
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: tessaline_irgen <bank.bin> [<picture.png>] [--report]\n"
                             "       tessaline_irgen --measure <bank.bin> [<picture.png>]\n");
        return 2;
    }
    const std::vector<double> bank = buildBank();
    if (!writeLittleEndian(bank, argv[1]))
    {
        std::fprintf(stderr, "tessaline_irgen: cannot write %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--report") == 0)
            printBankReport(bank);
        else if (!writeBankPicture(bank, argv[i]))
        {
            std::fprintf(stderr, "tessaline_irgen: cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
