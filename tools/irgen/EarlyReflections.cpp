#include "EarlyReflections.h"

#include "ArrivalGains.h"
#include "RealFft.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace irgen {
using TessalineFft::RealFft;

namespace {
// Long enough that the last arrival (0.1 s) and its short kernel stay clear of the wrap-around.
constexpr int kFftSize = 16384;
constexpr int kPhaseAnchor = 512; // the phase recurrence restarts exactly every so many bins

using Complex = std::complex<double>;

// Adds weight * magnitude(f) * exp(-i 2 pi f time / fs) to every bin of the three spectra.
void addArrival(const double* magnitude, int bins, double time, const EarWeights& w, Complex* fb, Complex* cf,
                Complex* lr)
{
    const double omega = -2.0 * kPi * time / kFftSize;
    const Complex step = std::polar(1.0, omega);
    Complex phase;
    for (int k = 0; k < bins; ++k)
    {
        phase = (k % kPhaseAnchor == 0) ? std::polar(1.0, omega * k) : phase * step;
        const Complex x = magnitude[k] * phase;
        fb[k] += w.fb * x;
        cf[k] += w.cf * x;
        lr[k] += w.lr * x;
    }
}
} // namespace

double imageFade(double t)
{
    if (t <= kImageFadeStart)
        return 1.0;
    if (t >= kImageEnd)
        return 0.0;
    const double x = (t - kImageFadeStart) / (kImageEnd - kImageFadeStart);
    return std::cos(0.5 * kPi * x);
}

void renderArrivals(const std::vector<Arrival>& arrivals, PositionTables& tables)
{
    const ArrivalGains gains(kFftSize);
    const int bins = gains.bins();
    std::vector<Complex> spectra[3] = {std::vector<Complex>(static_cast<size_t>(bins)),
                                       std::vector<Complex>(static_cast<size_t>(bins)),
                                       std::vector<Complex>(static_cast<size_t>(bins))};
    std::vector<double> ears[2] = {std::vector<double>(static_cast<size_t>(bins)),
                                   std::vector<double>(static_cast<size_t>(bins))};
    for (const Arrival& a : arrivals)
    {
        const double fade = imageFade(a.emission);
        if (fade <= 0.0)
            continue;
        gains.magnitudes(a, ears[0].data(), ears[1].data());
        for (int ear = 0; ear < 2; ++ear)
        {
            EarWeights w = earWeights(ear, a.shareFB);
            w = {w.fb * fade, w.cf * fade, w.lr * fade};
            addArrival(ears[ear].data(), bins, a.time[ear], w, spectra[0].data(), spectra[1].data(),
                       spectra[2].data());
        }
    }
    RealFft fft(kFftSize);
    std::vector<double>* targets[3] = {&tables.fb, &tables.cf, &tables.lr};
    for (int c = 0; c < 3; ++c)
    {
        std::copy(spectra[c].begin(), spectra[c].end(), fft.spectrum());
        fft.inverse();
        for (int i = 0; i < kFftSize; ++i)
            (*targets[c])[static_cast<size_t>(i)] += fft.time()[i] / kFftSize;
    }
}

} // namespace irgen
