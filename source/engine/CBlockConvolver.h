// A uniformly partitioned convolver that does all of a block's work at once, when the caller
// hands it the block: the input block's spectrum joins a frequency-domain delay line, the sum
// over the P partitions is transformed back, and the 2c samples of the result are added into
// the caller's output. Nothing is spread over the following block, so the latency is what the
// caller makes of it (c − 1 samples when it hands the block over at its last sample). Meant for
// rendering, where a block may cost what it costs; single precision throughout (FFTW's float
// plans, float spectra, float sums). No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/CPartitionSpectra.h"
#include "engine/CSingleTransforms.h"

#include <complex>

class CBlockConvolver
{
public:
    // [main thread] partitionSize a power of two (>= 8), partitions >= 1. Throws
    // std::invalid_argument for other shapes, std::bad_alloc when memory runs out. The response
    // starts silent.
    CBlockConvolver(int partitionSize, int partitions);

    // [not while processing] The response, P·c samples; partitions are transformed here.
    void setResponse(const double* response);
    // [audio thread] Forgets every input block: the output goes on as after construction.
    void clearSignal();
    // [audio thread] Takes the next block of c samples and adds Σₚ xₜ₋ₚ ∗ hₚ (2c samples, the
    // last one zero) into ring[(at + k) & mask], skip <= k < 2c; mask + 1 a power of two >= 2c.
    void processBlock(const double* block, double* ring, long mask, long at, long skip = 0);

    // [audio thread] Takes the next block into the delay line only, adding nothing anywhere: for
    // a block whose own output the caller no longer needs.
    void storeBlock(const double* block);

    int partitionSize() const { return m_nPartitionSize; }
    int partitions() const { return m_nPartitions; }

private:
    int m_nPartitionSize;
    int m_nPartitions;
    CPartitionSpectra m_Spectra;
    CSingleTransforms m_Transforms;
    AlignedArray<std::complex<double>> m_Sum; // bins 0 … c of the summed spectrum
};
