// A whole ear as the room effect wires it (early stage + late stage + 256-sample delay) with a
// bank position, against direct convolution with the closed-form shaped 69632-sample response.
#include "support/SpectrumAccuracy.h"
#include "support/StageFixtures.h"
#include "engine/CDelayLine.h"
#include "room/ResponseBank.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace enginetest;

struct Tables
{
    const double* fb;
    const double* lr;
    const double* cf;
};

std::vector<double> closedFormResponse(const Tables& t, int ear, double absFB, double absLR, double absCF,
                                       double fs, int curve, double volFB, double volLR, double volCF)
{
    auto env = [&](long i, double a) {
        return curve == 0 ? std::exp(-(static_cast<double>(i) * a) / fs)
                          : fs / (static_cast<double>(i) * (a * 7.5 + 0.07) + fs);
    };
    const double *fb = t.fb, *lr = t.lr, *cf = t.cf;
    std::vector<double> h(kResponseLength);
    for (long i = 0; i < kResponseLength; ++i)
    {
        const double pFB = (env(i, absFB) * volFB) * fb[i];
        const double pLR = (env(i, absLR) * volLR) * lr[i];
        h[i] = (ear == 0 ? pFB + pLR : pFB - pLR) + (env(i, absCF) * volCF) * cf[i];
    }
    return h;
}

// position < 0: synthetic noise tables instead of the bank's, so that every tap is exercised
// whatever the bank holds.
struct EarCase
{
    int position, ear, fs, curve;
};
using Component = CPartitionedConvolver::Component;

TEST(WholeEar, EqualsDirectConvolutionWithTheShapedResponse255SamplesLate)
{
    const std::vector<double> fb = noise(kResponseLength, 51, 0.5), lr = noise(kResponseLength, 52, 0.5),
                              cf = noise(kResponseLength, 53, 0.5);
    for (const EarCase& k : {EarCase{10, 1, 44100, 1}, EarCase{3, 0, 48000, 0}, EarCase{-1, 0, 44100, 0},
                             EarCase{-1, 1, 96000, 1}})
    {
        const Tables tables = k.position >= 0 ? Tables{roomResponseTable(fbTableOf(k.position)),
                                                       roomResponseTable(lrTableOf(k.position)),
                                                       roomResponseTable(cfTableOf(k.position))}
                                              : Tables{fb.data(), lr.data(), cf.data()};
        CPartitionedConvolver early(roomResponseBank(), 0, 44100, k.ear, kResponseLength, kEarlyLength,
                                    kEarlyPartition, 0);
        CPartitionedConvolver late(roomResponseBank(), 0, 44100, k.ear, kResponseLength, kLateLength,
                                   kLatePartition, kLateStart);
        CDelayLine delay(44100, kLateDelay, 0.0, 100.0);
        for (CPartitionedConvolver* stage : {&early, &late})
        {
            stage->reloadPosition(k.position, k.fs);
            if (k.position < 0)
            {
                stage->component(Component::kFB).m_pData = fb.data();
                stage->component(Component::kLR).m_pData = lr.data();
                stage->component(Component::kCF).m_pData = cf.data();
                stage->combine();
            }
            stage->setAllDecays(4.0, 6.0, 2.5, k.fs, k.curve);
            stage->setVolumes(0.9, 0.7, 1.1);
        }
        delay.reset(kLateDelay, 0.0, 100.0);
        const std::vector<double> h =
            closedFormResponse(tables, k.ear, 4.0, 6.0, 2.5, k.fs, k.curve, 0.9, 0.7, 1.1);

        // Two noise bursts, so that direct convolution stays cheap: one at the start and one
        // once every partition of the late stage has been cycled through.
        const long length = 150000;
        std::vector<double> x(length, 0.0);
        const std::vector<double> burst = noise(300, 40u + k.position);
        std::copy(burst.begin(), burst.end(), x.begin() + 17);
        std::copy(burst.begin(), burst.end(), x.begin() + 70001);

        double worst = 0.0, peak = 0.0;
        for (long m = 0; m < length; ++m)
        {
            early.processSample(x[m]);
            late.processSample(x[m]);
            delay.processSample(late.output());
            const double y = delay.output() + early.output();
            double expected = 0.0;
            for (long n : {17L, 70001L})
                for (long q = 0; q < 300; ++q)
                {
                    const long tap = m - kRoomDelay - (n + q);
                    if (tap >= 0 && tap < kResponseLength)
                        expected += h[tap] * x[n + q];
                }
            worst = std::max(worst, std::abs(y - expected));
            peak = std::max(peak, std::abs(expected));
        }
        EXPECT_LT(worst, TestSupport::spectrumBound(1e-11, peak)) << "position " << k.position;
    }
}

} // namespace
