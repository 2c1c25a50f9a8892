#include "BankReport.h"

#include "Analysis.h"
#include "Room.h"
#include "RoomAcoustics.h"
#include "ToneMeasures.h"

#include <cstdio>

namespace irgen {
namespace {
constexpr int kEndWindow = 441; // 10 ms at the bank's own rate
const char* const kPositionNames[kPositions] = {"Center", "L22", "L32", "L45", "L64", "L90",
                                                "R22",    "R32", "R45", "R64", "R90"};

const double* table(const std::vector<double>& bank, int k)
{
    return bank.data() + static_cast<size_t>(k) * kResponseLength;
}

void printDecay(const std::vector<double>& bank)
{
    std::printf("RT60 at 125 250 500 1k 2k 4k 8k 16k Hz:");
    for (double hz : {125.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0, 16000.0})
        std::printf(" %.2f", reverberationTime(hz));
    std::printf(" s\n  k pos c  peak@    value   -10dB@  -20dB@  -30dB@   last    end dB\n");
    for (int k = 0; k < kTables; ++k)
    {
        const double* t = table(bank, k);
        const std::vector<double> edc = energyDecayDb(t, kResponseLength);
        const int p = peakIndex(t, kResponseLength);
        std::printf("%3d %3d %c %6d %8.4f %8d %7d %7d %9.2e %7.1f\n", k, 10 - k / 3, "CLF"[k % 3], p, t[p],
                    indexBelow(edc, -10.0), indexBelow(edc, -20.0), indexBelow(edc, -30.0),
                    t[kResponseLength - 1], endLevelDb(t, kResponseLength, kEndWindow));
    }
    std::printf("  end dB: the table's last 10 ms against its loudest 10 ms at 44.1 kHz; every table\n"
                "  ends in a fade over its last 7680 samples, so no setting stops the room with a cut\n");
}

std::vector<double> ear(const std::vector<double>& bank, int position, int e, const ListeningSetting& setting)
{
    const int cf = 30 - 3 * position;
    return earResponse(table(bank, cf + 2), table(bank, cf + 1), table(bank, cf), kResponseLength, e,
                       setting);
}

void printTone(const std::vector<double>& bank)
{
    const ListeningSetting setting;
    const double fs = setting.sampleRate;
    std::printf("Tone at the default setting, %.0f Hz (third-octave levels, dB)\n", fs);
    std::printf("  late tail of Center, 200-600 ms after the direct sound, relative to 1 kHz:\n");
    for (int e = 0; e < 2; ++e)
    {
        const std::vector<double> h = ear(bank, 0, e, setting);
        const Piece late = latePiece(mainPeak(h), fs);
        const BandLevels bands = thirdOctaveLevels(h, late.begin, late.end, fs, 100.0, 16000.0);
        std::printf("  %s:", e == 0 ? "left " : "right");
        for (size_t i = 0; i < bands.hz.size(); ++i)
            std::printf(" %.0f", bands.db[i] - bands.db[10]);
        std::printf("\n");
    }
    std::printf(
        "  pos    ear | direct 0.4-16k | early 0.2-16k | late 0.1-12.5k             late 0.1-16k\n"
        "             | spread (<= 6)  | step (<= 6)   | step (<= 4)  trend (<= 2.5) trend (<= 2.5)\n");
    for (int p = 0; p < kPositions; ++p)
        for (int e = 0; e < 2; ++e)
        {
            const std::vector<double> h = ear(bank, p, e, setting);
            const int direct = mainPeak(h);
            const Piece d = directPiece(direct, fs), early = earlyPiece(direct, fs),
                        late = latePiece(direct, fs);
            const BandLevels dl = thirdOctaveLevels(h, d.begin, d.end, fs, 400.0, 16000.0);
            const BandLevels el = thirdOctaveLevels(h, early.begin, early.end, fs, 200.0, 16000.0);
            const BandLevels ll = thirdOctaveLevels(h, late.begin, late.end, fs, 100.0, 12500.0);
            const BandLevels lt = thirdOctaveLevels(h, late.begin, late.end, fs, 100.0, 16000.0);
            const bool nearer = kAzimuthDeg[p] == 0.0 || (kAzimuthDeg[p] > 0.0) == (e == 0);
            char spread[16] = "      -";
            if (nearer)
                std::snprintf(spread, sizeof spread, "%7.1f", largestSpreadDb(dl));
            std::printf("  %-6s %-5s| %s        | %7.1f       | %7.1f      %7.1f        %7.1f\n",
                        kPositionNames[p], e == 0 ? "left" : "right", spread,
                        largestStepDb(el, 200.0, 16000.0), largestStepDb(ll, 100.0, 12500.0),
                        largestTrendDeviationDb(ll), largestTrendDeviationDb(lt));
        }
}
} // namespace

void printBankReport(const std::vector<double>& bank)
{
    printDecay(bank);
    printTone(bank);
}

} // namespace irgen
