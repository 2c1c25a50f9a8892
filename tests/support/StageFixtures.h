// Convolver stages for tests: their geometry, a synthetic bank to build them with, slow
// references to check them against. Shared by the engine tests and the room's stage tests.
#pragma once

#include "engine/CPartitionedConvolver.h"
#include "engine/IResponseTables.h"
#include "room/RoomConstants.h"
#include "support/Noise.h"

#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace enginetest {

using TestSupport::noise;

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
// The shape as a test name: c128_P32_at0.
inline std::string stageName(const StageShape& s)
{
    return "c" + std::to_string(s.c) + "_P" + std::to_string(s.P) + "_at" + std::to_string(s.start);
}
constexpr StageShape kEarly{kEarlyPartition, kEarlyLength / kEarlyPartition, 0};
constexpr StageShape kLate{kLatePartition, kLateLength / kLatePartition, kLateStart};

// A bank shaped like the room's (11 positions of three tables, position p on tables 3p .. 3p + 2)
// over one noise signal: table k starts k samples into it, so every table is distinct and
// readable for a whole response without the room's 18 MB bank.
class SyntheticBank final : public IResponseTables
{
public:
    static constexpr int kPositions = 11;

    int tableCount() const override { return 3 * kPositions; }
    int positionCount() const override { return kPositions; }
    const double* table(int k) const override { return m_Samples.data() + k; }
    PositionTables tablesOf(int position) const override
    {
        return {3 * position, 3 * position + 1, 3 * position + 2};
    }

private:
    std::vector<double> m_Samples = noise(kResponseLength + 3 * kPositions, 77, 0.5);
};

// The bank engine tests build their stages with (tables they bind themselves replace it).
inline const SyntheticBank& testBank()
{
    static const SyntheticBank bank;
    return bank;
}

// A stage whose shaped response is exactly `response` (full response length): the table is
// bound as the FB component with envelope 1 (exponential law, absorption 0) and volume 1;
// LR and CF are unbound and so contribute exact zeros.
inline std::unique_ptr<CPartitionedConvolver> stageWithResponse(const StageShape& s,
                                                                const std::vector<double>& response,
                                                                int responseLength = kResponseLength)
{
    auto stage = std::make_unique<CPartitionedConvolver>(testBank(), 0, 44100, 0, responseLength, s.P * s.c,
                                                         s.c, s.start);
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
    for (int q = 0; q < taps; ++q)
    {
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
    for (std::size_t n = 0; n < x.size(); ++n)
    {
        stage.processSample(x[n]);
        y[n] = stage.output();
    }
    return y;
}

} // namespace enginetest
