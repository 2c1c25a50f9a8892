// The run path of a convolver stage: many samples per call, block events taken as they fall.
#include "engine/CPartitionedConvolver.h"

#include <algorithm>

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
            double* block = gatheringInput() + j;
            const double* in = x + k;
            bool signal = false;
            for (int i = 0; i < quiet; ++i)
            {
                block[i] = in[i];
                signal |= in[i] != 0.0;
            }
            m_bBlockHasSignal |= signal;
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
