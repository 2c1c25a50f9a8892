// The run path of a convolver stage: many samples per call, block events taken as they fall.
#include "engine/CPartitionedConvolver.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Whether any of the n finite samples is not zero (of either sign), on the bits so that the
// loop vectorises.
bool anyNonZero(const double* x, int n)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < n; ++i)
    {
        std::uint64_t b;
        std::memcpy(&b, x + i, sizeof b);
        bits |= b;
    }
    return (bits & 0x7fffffffffffffffu) != 0;
}

} // namespace

// Between two block events a sample is only stored and the output block read: such a stretch is
// copied in and out whole, and the sample at the event goes the per-sample way.
void CPartitionedConvolver::processFiniteRun(const double* x, double* y, int n)
{
    int k = 0;
    while (k < n)
    {
        const int j = m_nIndex;
        const int quiet = std::min(n - k, std::max(m_nNextEventAt - j, 0));
        if (quiet > 0)
        {
            std::memcpy(gatheringInput() + j, x + k, sizeof(double) * static_cast<std::size_t>(quiet));
            m_bBlockHasSignal |= anyNonZero(x + k, quiet);
            // Sample j + i leaves the index at j + i + 1, where its output is read.
            std::copy_n(m_OutputBlock.get() + j + 1, quiet, y + k);
            m_nIndex = j + quiet;
            k += quiet;
            if (k == n)
                break;
        }
        processFiniteSample(x[k]);
        y[k] = output();
        ++k;
    }
}
