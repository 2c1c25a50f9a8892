#include "PositionTables.h"

#include <cmath>

namespace irgen
{
void addKernel(std::vector<double>& target, const Kernel& kernel, double time, double weight)
{
    const double whole = std::floor(time);
    const double frac = time - whole;
    const long start = static_cast<long>(whole) - kKernelHalf;
    const long size = static_cast<long>(target.size());
    // Tap i of the interpolated kernel: (1 - frac) k[i] + frac k[i - 1], i = 0 .. length.
    for (long i = 0; i <= kKernelLength; ++i)
    {
        const long n = start + i;
        if (n < 0 || n >= size)
            continue;
        const double a = i < kKernelLength ? kernel[i] : 0.0;
        const double b = i > 0 ? kernel[i - 1] : 0.0;
        target[n] += weight * ((1.0 - frac) * a + frac * b);
    }
}

void addEarPiece(PositionTables& tables, int ear, const Kernel& kernel, double time,
                 double shareFB)
{
    addKernel(tables.fb, kernel, time, 0.5 * shareFB);
    addKernel(tables.cf, kernel, time, 0.5 * (1.0 - shareFB));
    addKernel(tables.lr, kernel, time, ear == 0 ? 0.5 : -0.5);
}

}  // namespace irgen
