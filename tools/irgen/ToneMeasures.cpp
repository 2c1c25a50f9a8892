#include "ToneMeasures.h"

#include "RealFft.h"

#include <algorithm>
#include <cmath>

namespace irgen {
using TessalineFft::RealFft;

namespace {
constexpr int kMinimumFft = 16384;
// A band counts when its exact centre lies within a twelfth of an octave of the range, so the
// nominal 100 Hz and 16 kHz (99.2 Hz and 16.0 kHz exactly) are in.
const double kNominalSlack = std::pow(2.0, 1.0 / 12.0);

bool inRange(double hz, double lowHz, double highHz)
{
    return hz >= lowHz / kNominalSlack && hz <= highHz * kNominalSlack;
}
} // namespace

std::vector<double> earResponse(const double* fb, const double* lr, const double* cf, int length, int ear,
                                const ListeningSetting& setting)
{
    std::vector<double> h(static_cast<size_t>(length));
    const double sign = ear == 0 ? 1.0 : -1.0;
    for (int i = 0; i < length; ++i)
    {
        // The plug-in's decay laws: exponential e^(-a t), hyperbolic 1 / (1 + (7.5 a + 0.07) t).
        const double t = i / setting.sampleRate;
        const double env = setting.hyperbolic ? 1.0 / (1.0 + (7.5 * setting.absorption + 0.07) * t)
                                              : std::exp(-setting.absorption * t);
        h[static_cast<size_t>(i)] = env * (fb[i] + sign * lr[i] + cf[i]);
    }
    return h;
}

BandLevels thirdOctaveLevels(const std::vector<double>& x, int begin, int end, double sampleRate,
                             double lowHz, double highHz)
{
    begin = std::max(begin, 0);
    end = std::min(end, static_cast<int>(x.size()));
    int size = kMinimumFft;
    while (size < end - begin)
        size *= 2;
    RealFft fft(size);
    std::fill(fft.time(), fft.time() + size, 0.0);
    for (int i = begin; i < end; ++i)
        fft.time()[i - begin] = x[static_cast<size_t>(i)];
    fft.forward();
    BandLevels levels;
    for (int k = -30; k <= 14; ++k)
    {
        const double centre = 1000.0 * std::pow(2.0, k / 3.0);
        if (!inRange(centre, lowHz, highHz))
            continue;
        const double edge = std::pow(2.0, 1.0 / 6.0);
        const int first = static_cast<int>(std::ceil(centre / edge * size / sampleRate));
        const int last =
            std::min(fft.bins() - 1, static_cast<int>(std::floor(centre * edge * size / sampleRate)));
        double power = 0.0;
        for (int b = first; b <= last; ++b)
            power += std::norm(fft.spectrum()[b]);
        power /= std::max(1, last - first + 1);
        levels.hz.push_back(centre);
        levels.db.push_back(10.0 * std::log10(power + 1e-300));
    }
    return levels;
}

double largestStepDb(const BandLevels& levels, double lowHz, double highHz)
{
    double largest = 0.0;
    for (size_t i = 1; i < levels.hz.size(); ++i)
        if (inRange(levels.hz[i - 1], lowHz, highHz) && inRange(levels.hz[i], lowHz, highHz))
            largest = std::max(largest, std::fabs(levels.db[i] - levels.db[i - 1]));
    return largest;
}

double largestTrendDeviationDb(const BandLevels& levels)
{
    // Normal equations of y = c0 + c1 x + c2 x^2, x = log2(f / 1 kHz), solved by elimination.
    double a[3][4] = {};
    for (size_t i = 0; i < levels.hz.size(); ++i)
    {
        const double x = std::log2(levels.hz[i] / 1000.0);
        const double p[3] = {1.0, x, x * x};
        for (int r = 0; r < 3; ++r)
        {
            for (int c = 0; c < 3; ++c)
                a[r][c] += p[r] * p[c];
            a[r][3] += p[r] * levels.db[i];
        }
    }
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
        {
            const double f = a[j][i] / a[i][i];
            for (int c = 0; c < 4; ++c)
                a[j][c] -= f * a[i][c];
        }
    double coef[3];
    for (int i = 2; i >= 0; --i)
    {
        double s = a[i][3];
        for (int c = i + 1; c < 3; ++c)
            s -= a[i][c] * coef[c];
        coef[i] = s / a[i][i];
    }
    double largest = 0.0;
    for (size_t i = 0; i < levels.hz.size(); ++i)
    {
        const double x = std::log2(levels.hz[i] / 1000.0);
        const double trend = coef[0] + coef[1] * x + coef[2] * x * x;
        largest = std::max(largest, std::fabs(levels.db[i] - trend));
    }
    return largest;
}

double largestSpreadDb(const BandLevels& levels)
{
    double mean = 0.0;
    for (double v : levels.db)
        mean += v / static_cast<double>(levels.db.size());
    double largest = 0.0;
    for (double v : levels.db)
        largest = std::max(largest, std::fabs(v - mean));
    return largest;
}

double relativeLevelDb(const BandLevels& levels, double hz)
{
    auto nearest = [&](double f) {
        size_t best = 0;
        for (size_t i = 1; i < levels.hz.size(); ++i)
            if (std::fabs(std::log(levels.hz[i] / f)) < std::fabs(std::log(levels.hz[best] / f)))
                best = i;
        return levels.db[best];
    };
    return nearest(hz) - nearest(1000.0);
}

Piece directPiece(int direct, double sampleRate)
{
    const int before = static_cast<int>(std::lround(0.00025 * sampleRate));
    return {direct - before, direct - before + static_cast<int>(std::lround(0.0025 * sampleRate))};
}

Piece earlyPiece(int direct, double sampleRate)
{
    const int before = static_cast<int>(std::lround(0.00025 * sampleRate));
    return {direct - before, direct + static_cast<int>(std::lround(0.05 * sampleRate))};
}

Piece latePiece(int direct, double sampleRate)
{
    return {direct + static_cast<int>(std::lround(0.2 * sampleRate)),
            direct + static_cast<int>(std::lround(0.6 * sampleRate))};
}

int mainPeak(const std::vector<double>& x)
{
    int best = 0;
    for (int i = 1; i < static_cast<int>(x.size()); ++i)
        if (std::fabs(x[static_cast<size_t>(i)]) > std::fabs(x[static_cast<size_t>(best)]))
            best = i;
    return best;
}

} // namespace irgen
