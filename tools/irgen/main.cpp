// tessaline_irgen: builds the room-response bank of Tessaline.
//
// Usage: tessaline_irgen <bank.bin> [<picture.png>] [--report]
// Writes 33 tables of 69632 little-endian IEEE-754 doubles back to back (18,382,848 bytes):
// table k belongs to position 10 - k/3 and holds its CF, LR or FB component for k mod 3 = 0, 1,
// 2. The output is bit-identical on every run (fixed seeds, no standard distributions).
//
// THE ROOM (the numbers live in Room.h)
// - A rectangular hall 8 m wide, 10 m long and 5 m high (400 m^3, 340 m^2).
// - The listener's head (a sphere of radius 8.75 cm, ears on the left-right axis) is 3.4 m from
//   the left wall, 3.0 m from the back wall and 1.7 m above the floor (standing), facing the
//   front wall. It is 0.6 m left of the room's centre line, so even a centred source has
//   different left and right reflections.
// - Eleven source positions at 1.8 m height on a circle round the head: centre, and 22, 32, 45,
//   64 and 90 degrees to the left and to the right. The distance (2.51 to 2.59 m) brings the
//   direct sound to the nearer ear (both ears for the centre) at sample 322 of 44.1 kHz. The
//   source faces the listener; it is omnidirectional in the bass, slightly directional in the
//   treble (amplitude 1 - b + b cos(angle), b up to 0.2), its spectrum falls in the treble
//   (band amplitudes 1 1 1 0.85 0.6 0.35 0.12) as that of most voices and instruments does, and
//   it radiates no DC.
// - Materials, absorption coefficient at 125 / 250 / 500 / 1k / 2k / 4k / 8k Hz:
//     left and right walls, wood panelling        0.10 0.08 0.07 0.07 0.07 0.07 0.07
//     front and back walls, painted brick         0.04 0.04 0.05 0.05 0.06 0.06 0.06
//     floor, wood with thin rugs                  0.07 0.07 0.07 0.08 0.10 0.18 0.30
//     ceiling, hard plaster                       0.10 0.10 0.10 0.10 0.10 0.10 0.10
//   Air at 20 degrees C and about 80 % humidity: 0.3 1.0 1.8 3.0 5.5 12.5 37 dB/km.
//   Eyring's formula gives reverberation times of 2.30 2.47 2.46 2.34 2.08 1.59 1.06 s: a slow
//   room on purpose, since the plug-in's decay envelopes shape the audible decay and the tables
//   must leave them room. Each table's own backward-integrated energy falls 10 dB within about
//   15,500 to 18,500 samples and about 10 dB more every further 17,000.
//
// THE MODEL
// - Image sources of the box up to 0.1 s of path (about 330 per position). Each arrival gets,
//   per octave band: spherical spreading 1/r, the pressure reflection factor sqrt(1 - alpha) of
//   every wall it met, air attenuation over its path, and the source's spectrum and directivity
//   in the direction it left the source.
// - Binaural receiver: per ear, the Woodworth path round the sphere gives the interaural time
//   difference (up to 0.66 ms), and a one-pole/one-zero head-shadow filter (Brown and Duda)
//   evaluated at the band centres gives the level difference (treble +6 dB facing the ear, down
//   to about -20 dB in the shadow).
// - Each arrival becomes one 511-tap linear-phase FIR (complementary octave-band kernels weighted
//   by its band gains) placed at its fractional arrival time at each ear.
// - Late diffuse tail: sparse random impulses (one per four samples and stream, SplitMix64
//   seeded per position), shaped per band so that each band starts at the energy per second the
//   image sources deliver between 0.04 and 0.07 s and then decays at that band's Eyring rate.
//   FB, CF and LR get independent streams; the ears are thereby decorrelated down to a
//   diffuse-field coherence of 0.2 and 0.1 in the two lowest bands and 0 above. Images fade out
//   and the tail fades in (quarter cosine and sine) between 0.07 and 0.10 s.
// - The whole bank is scaled so that its largest magnitude is 0.75.
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

#include "Analysis.h"
#include "Arrivals.h"
#include "BankPicture.h"
#include "DiffuseTail.h"
#include "EarlyReflections.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{
using namespace irgen;

constexpr uint64_t kSeed = 0x7E55A11E0000ull;
constexpr double kBankPeak = 0.75;

std::vector<double> buildBank()
{
    const BandKernels bands;
    std::vector<double> bank(static_cast<size_t>(kTables) * kResponseLength, 0.0);
    for (int position = 0; position < kPositions; ++position)
    {
        const std::vector<Arrival> arrivals = traceArrivals(position);
        PositionTables tables;
        renderArrivals(arrivals, bands, tables);
        renderDiffuseTail(arrivals, bands, kSeed + static_cast<uint64_t>(position), tables);
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

void report(const std::vector<double>& bank)
{
    const BandValues rt = reverberationTimes();
    std::printf("RT60 per band:");
    for (double t : rt)
        std::printf(" %.2f", t);
    std::printf(" s\n  k pos c  peak@    value   -10dB@  -20dB@  -30dB@   last\n");
    for (int k = 0; k < kTables; ++k)
    {
        const double* t = bank.data() + static_cast<size_t>(k) * kResponseLength;
        const std::vector<double> edc = energyDecayDb(t, kResponseLength);
        const int p = peakIndex(t, kResponseLength);
        std::printf("%3d %3d %c %6d %8.4f %8d %7d %7d %9.2e\n", k, 10 - k / 3, "CLF"[k % 3], p,
                    t[p], indexBelow(edc, -10.0), indexBelow(edc, -20.0),
                    indexBelow(edc, -30.0), t[kResponseLength - 1]);
    }
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: tessaline_irgen <bank.bin> [<picture.png>] [--report]\n");
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
            report(bank);
        else if (!writeBankPicture(bank, argv[i]))
        {
            std::fprintf(stderr, "tessaline_irgen: cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
