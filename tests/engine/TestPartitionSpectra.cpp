// The spectrum rings on their own: a clear leaves nothing of what was stored, whether it zeroes
// the few slots written since the last clear or the whole rings.
#include "engine/CPartitionSpectra.h"

#include <gtest/gtest.h>

#include <complex>
#include <vector>

namespace {

using Complex = CPartitionSpectra::Complex;

TEST(PartitionSpectra, ClearForgetsEveryStoredSpectrum)
{
    constexpr int c = 64, P = 32; // two chunks of bins per spectrum
    std::vector<Complex> bins(c + 1);
    for (int b = 0; b <= c; ++b)
        bins[b] = Complex(1.0 + b, b == 0 || b == c ? 0.0 : 0.5 - b);
    std::vector<Complex> sums(c + 1);
    for (const int stored : {3, 7, 8, P, P + 5})
    {
        SCOPED_TRACE(stored);
        CPartitionSpectra spectra(c * P, c);
        // Inputs go to slots 1, 2, … and responses to partitions P − 1, P − 2, …: once the window
        // restarts those meet, so a slot left unzeroed by the clear would show in the sums.
        for (int k = 0; k < stored; ++k)
        {
            spectra.storeInput(bins.data());
            spectra.storeResponse(P - 1 - k, bins.data());
        }
        spectra.clear();
        spectra.accumulate(0, c, sums.data());
        for (int b = 0; b <= c; ++b)
            ASSERT_EQ(sums[b], Complex(0.0)) << "bin " << b;
        // The window starts again where a new instance's does.
        spectra.storeInput(bins.data());
        spectra.storeResponse(0, bins.data());
        CPartitionSpectra fresh(c * P, c);
        fresh.storeInput(bins.data());
        fresh.storeResponse(0, bins.data());
        std::vector<Complex> expected(c + 1);
        fresh.accumulate(0, c, expected.data());
        spectra.accumulate(0, c, sums.data());
        EXPECT_EQ(sums, expected);
    }
}

} // namespace
