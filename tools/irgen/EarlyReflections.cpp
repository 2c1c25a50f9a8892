#include "EarlyReflections.h"

#include <cmath>

namespace irgen
{
double imageFade(double t)
{
    if (t <= kImageFadeStart)
        return 1.0;
    if (t >= kImageEnd)
        return 0.0;
    const double x = (t - kImageFadeStart) / (kImageEnd - kImageFadeStart);
    return std::cos(0.5 * kPi * x);
}

void renderArrivals(const std::vector<Arrival>& arrivals, const BandKernels& bands,
                    PositionTables& tables)
{
    Kernel kernel{};
    for (const Arrival& a : arrivals)
    {
        const double fade = imageFade(a.emission);
        if (fade <= 0.0)
            continue;
        for (int ear = 0; ear < 2; ++ear)
        {
            BandValues g = a.gain[ear];
            for (double& v : g)
                v *= fade;
            bands.combine(g, kernel);
            addEarPiece(tables, ear, kernel, a.time[ear], a.shareFB);
        }
    }
}

}  // namespace irgen
