#include "DecayAnalysis.h"

#include "RealFft.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <limits>

namespace TessalineTool {

namespace {
constexpr double kBandCentres[] = {125.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0};
// Band edges fade over a third of an octave in raised-cosine shape, so that neighbouring bands
// add up to the whole spectrum and a band's response does not ring as a brick-wall filter's does.
constexpr double kEdgeOctaves = 1.0 / 6.0;

// The weight of frequency f in the octave band around centre.
double bandWeight(double f, double centre)
{
    if (f <= 0.0)
        return 0.0;
    const double x = std::log2(f / centre); // octaves from the centre; edges at +-0.5
    const double fromEdge = 0.5 - std::fabs(x);
    if (fromEdge >= kEdgeOctaves)
        return 1.0;
    if (fromEdge <= -kEdgeOctaves)
        return 0.0;
    const double s = std::sin(M_PI / 4.0 * (fromEdge + kEdgeOctaves) / kEdgeOctaves);
    return s * s;
}

// Band-filtered copies of the responses (circular convolution avoided by padding to twice the
// length), their squares summed over both ears.
class BandFilter
{
public:
    explicit BandFilter(size_t frames)
        : fft(static_cast<int>(2 * frames))
        , size(2 * frames)
    {}

    // Adds the band's energy of one ear's response to energy.
    void addBandEnergy(const std::vector<float>& ear, double centre, int sampleRate,
                       std::vector<double>& energy)
    {
        double* time = fft.time();
        for (size_t n = 0; n < size; ++n)
            time[n] = n < ear.size() ? ear[n] : 0.0;
        fft.forward();
        // The band's weights, in place: the next call transforms the response afresh.
        std::complex<double>* spectrum = fft.spectrum();
        for (int k = 0; k < fft.bins(); ++k)
        {
            const double w =
                bandWeight(static_cast<double>(k) * sampleRate / static_cast<double>(size), centre);
            spectrum[k] = {spectrum[k].real() * w / static_cast<double>(size),
                           spectrum[k].imag() * w / static_cast<double>(size)};
        }
        fft.inverse();
        for (size_t n = 0; n < energy.size(); ++n)
            energy[n] += time[n] * time[n];
    }

private:
    TessalineFft::RealFft fft;
    size_t size;
};
} // namespace

std::vector<double> energyDecayCurve(const std::vector<double>& energy)
{
    std::vector<double> curve(energy.size(), -std::numeric_limits<double>::infinity());
    double remaining = 0.0;
    for (size_t n = energy.size(); n-- > 0;)
    {
        remaining += energy[n];
        curve[n] = remaining;
    }
    const double total = remaining;
    for (double& value : curve)
        value = total > 0.0 && value > 0.0 ? 10.0 * std::log10(value / total)
                                           : -std::numeric_limits<double>::infinity();
    return curve;
}

DecayFit fitT30(const std::vector<double>& curveDb, int sampleRate)
{
    size_t first = curveDb.size(), last = curveDb.size();
    for (size_t n = 0; n < curveDb.size(); ++n)
    {
        if (first == curveDb.size() && curveDb[n] <= -5.0)
            first = n;
        if (curveDb[n] <= -35.0)
        {
            last = n;
            break;
        }
    }
    DecayFit fit;
    if (last == curveDb.size() || last <= first)
        return fit;
    // Least squares over the samples from -5 dB to -35 dB.
    double sumT = 0.0, sumY = 0.0, sumTT = 0.0, sumTY = 0.0;
    const auto count = static_cast<double>(last - first + 1);
    for (size_t n = first; n <= last; ++n)
    {
        const double t = static_cast<double>(n) / sampleRate;
        sumT += t;
        sumY += curveDb[n];
        sumTT += t * t;
        sumTY += t * curveDb[n];
    }
    const double denominator = count * sumTT - sumT * sumT;
    if (!(denominator > 0.0))
        return fit;
    fit.slope = (count * sumTY - sumT * sumY) / denominator;
    fit.intercept = (sumY - fit.slope * sumT) / count;
    fit.valid = fit.slope < 0.0;
    fit.t30 = fit.valid ? -60.0 / fit.slope : 0.0;
    return fit;
}

namespace {
ResponseEnd measureEnd(const std::vector<double>& energy, int sampleRate)
{
    ResponseEnd end;
    const size_t window = static_cast<size_t>(std::max(1, sampleRate / 100));
    size_t last = energy.size();
    while (last > 0 && energy[last - 1] == 0.0)
        --last;
    if (last < 2 * window)
        return end;
    auto sum = [&energy, window](size_t first) {
        double s = 0.0;
        for (size_t n = first; n < first + window; ++n)
            s += energy[n];
        return s;
    };
    double loudest = 0.0;
    for (size_t first = 0; first + window <= last; first += window)
        loudest = std::max(loudest, sum(first));
    const double final = sum(last - window);
    end.valid = loudest > 0.0 && final > 0.0;
    end.seconds = static_cast<double>(last) / sampleRate;
    end.levelDb = end.valid ? 10.0 * std::log10(final / loudest) : 0.0;
    return end;
}
} // namespace

RoomDecay analyseDecay(const ImpulseResponse& response)
{
    RoomDecay decay;
    const size_t frames = response.left.size();
    std::vector<double> energy(frames);
    for (size_t n = 0; n < frames; ++n)
        energy[n] = static_cast<double>(response.left[n]) * response.left[n]
                    + static_cast<double>(response.right[n]) * response.right[n];
    decay.curve = energyDecayCurve(energy);
    decay.broadband = fitT30(decay.curve, response.sampleRate);
    decay.end = measureEnd(energy, response.sampleRate);

    BandFilter filter(frames);
    for (double centre : kBandCentres)
    {
        BandDecay band;
        band.centre = centre;
        band.aboveNyquist = centre * std::sqrt(2.0) > response.sampleRate / 2.0;
        if (!band.aboveNyquist && frames > 0)
        {
            std::vector<double> bandEnergy(frames, 0.0);
            filter.addBandEnergy(response.left, centre, response.sampleRate, bandEnergy);
            filter.addBandEnergy(response.right, centre, response.sampleRate, bandEnergy);
            band.fit = fitT30(energyDecayCurve(bandEnergy), response.sampleRate);
        }
        decay.bands.push_back(band);
    }
    return decay;
}

std::string endText(const ResponseEnd& end)
{
    if (!end.valid)
        return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dB", end.levelDb);
    return text;
}

std::string t30Text(const DecayFit& fit)
{
    if (!fit.valid)
        return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", fit.t30);
    return text;
}

} // namespace TessalineTool
