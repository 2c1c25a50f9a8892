#include "PositionTables.h"

#include "room/BankTailFade.h"

#include <cmath>

namespace irgen {
EarWeights earWeights(int ear, double shareFB)
{
    return {0.5 * shareFB, 0.5 * (1.0 - shareFB), ear == 0 ? 0.5 : -0.5};
}

namespace {
// Butterworth high-pass by the bilinear transform, run in direct form I.
void highPass(std::vector<double>& x)
{
    const double k = std::tan(kPi * kHighPassHz / kSampleRate);
    const double q = std::sqrt(0.5);
    const double norm = 1.0 / (1.0 + k / q + k * k);
    const double b0 = norm, b1 = -2.0 * norm, b2 = norm;
    const double a1 = 2.0 * (k * k - 1.0) * norm, a2 = (1.0 - k / q + k * k) * norm;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    for (double& v : x)
    {
        const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = v;
        y2 = y1;
        y1 = y;
        v = y;
    }
}
} // namespace

void fadeInLeadIn(PositionTables& tables)
{
    for (std::vector<double>* t : {&tables.fb, &tables.lr, &tables.cf})
        for (int i = 0; i < kLeadIn; ++i)
        {
            const double s = std::sin(0.5 * kPi * i / kLeadIn);
            (*t)[static_cast<size_t>(i)] *= s * s;
        }
}

void fadeOutTail(PositionTables& tables)
{
    static_assert(kTailFadeStart + kTailFadeLength == kResponseLength, "the fade ends with the tables");
    for (std::vector<double>* t : {&tables.fb, &tables.lr, &tables.cf})
        for (int i = kTailFadeStart; i < kResponseLength; ++i)
            (*t)[static_cast<size_t>(i)] *= tailFadeGain(i);
}

void removeSubsonic(PositionTables& tables)
{
    highPass(tables.fb);
    highPass(tables.lr);
    highPass(tables.cf);
}

} // namespace irgen
