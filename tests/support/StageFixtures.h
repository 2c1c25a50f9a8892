// Slow references and small fixtures shared by the engine tests.
#pragma once

#include "engine/CPartitionedConvolver.h"
#include "room/ResponseBank.h"

#include <cmath>
#include <memory>
#include <ostream>
#include <random>
#include <vector>

namespace enginetest {

// Stage geometry: partition size c, partitions P, first response index.
struct StageShape
{
    int c;
    int P;
    int start;
};
inline void PrintTo(const StageShape& s, std::ostream* os)
{
    *os << "c=" << s.c << " P=" << s.P << " start=" << s.start;
}
constexpr StageShape kEarly{128, 32, 0};
constexpr StageShape kLate{2048, 32, 4096};

inline std::vector<double> noise(std::size_t n, unsigned seed, double amplitude = 1.0)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> dist(-amplitude, amplitude);
    std::vector<double> v(n);
    for (double& x : v)
        x = dist(rng);
    return v;
}

// A stage whose shaped response is exactly `response` (full response length): the table is
// bound as the FB component with envelope 1 (exponential law, absorption 0) and volume 1;
// LR and CF are unbound and so contribute exact zeros.
inline std::unique_ptr<CPartitionedConvolver> stageWithResponse(const StageShape& s,
                                                                const std::vector<double>& response,
                                                                int responseLength = kResponseLength)
{
    auto stage = std::make_unique<CPartitionedConvolver>(0, 44100, 0, responseLength, s.P * s.c, s.c,
                                                         s.start);
    stage->component(CPartitionedConvolver::Component::kFB).m_pData = response.data();
    stage->component(CPartitionedConvolver::Component::kLR).m_pData = nullptr;
    stage->component(CPartitionedConvolver::Component::kCF).m_pData = nullptr;
    stage->setAllDecays(0.0, 0.0, 0.0, 44100, 0);
    stage->setVolumes(1.0, 1.0, 1.0);
    return stage;
}

// y[m] = Σ_q h[q]·x[m − delay − q], the slow way.
inline double directSample(const std::vector<double>& x, const double* h, int taps, long m, long delay)
{
    double sum = 0.0;
    for (int q = 0; q < taps; ++q) {
        const long n = m - delay - q;
        if (n < 0)
            break;
        if (n < static_cast<long>(x.size()))
            sum += h[q] * x[n];
    }
    return sum;
}

inline std::vector<double> run(CPartitionedConvolver& stage, const std::vector<double>& x)
{
    std::vector<double> y(x.size());
    for (std::size_t n = 0; n < x.size(); ++n) {
        stage.processSample(x[n]);
        y[n] = stage.output();
    }
    return y;
}

} // namespace enginetest
