// The block convolver: one transform each way and one pass over the rings per block.
#include "engine/CBlockConvolver.h"
#include "engine/PowerOfTwo.h"

#include <algorithm>
#include <stdexcept>

namespace {

int checkedSize(int partitionSize, int partitions)
{
    if (partitionSize < 8 || !isPowerOfTwo(partitionSize) || partitions < 1)
        throw std::invalid_argument("CBlockConvolver: shape");
    return partitionSize;
}

} // namespace

CBlockConvolver::CBlockConvolver(int partitionSize, int partitions)
    : m_nPartitionSize(checkedSize(partitionSize, partitions))
    , m_nPartitions(partitions)
    , m_Spectra(partitionSize * partitions, partitionSize, SpectrumPrecision::kSingle)
    , m_Transforms(2 * partitionSize)
    , m_Sum(static_cast<std::size_t>(partitionSize) + 1)
{}

void CBlockConvolver::setResponse(const double* response)
{
    for (int p = 0; p < m_nPartitions; ++p)
        m_Spectra.storeResponse(
            p, m_Transforms.forwardPadded(response + static_cast<long>(p) * m_nPartitionSize));
}

void CBlockConvolver::clearSignal()
{
    // Clearing both rings would lose the response: store zeros as input instead, P times.
    m_Sum.zero();
    for (int p = 0; p < m_nPartitions; ++p)
        m_Spectra.storeInput(m_Sum.get());
}

void CBlockConvolver::storeBlock(const double* block)
{
    m_Spectra.storeInput(m_Transforms.forwardPadded(block));
}

void CBlockConvolver::processBlock(const double* block, double* ring, long mask, long at, long skip)
{
    const int c = m_nPartitionSize;
    m_Spectra.storeInput(m_Transforms.forwardPadded(block));
    m_Spectra.accumulate(0, c, m_Sum.get());
    // The float inverse gives 2c·y; the scaling by 1/2c is exact.
    const float* y = m_Transforms.inverse(m_Sum.get());
    const double scale = 1.0 / (2.0 * c);
    const long n = 2L * c;
    long k = std::max(0L, skip);
    while (k < n)
    {
        // Up to the ring's end, then on from its start.
        const long first = (at + k) & mask;
        const long run = std::min(n - k, mask + 1 - first);
        double* out = ring + first;
        for (long i = 0; i < run; ++i)
            out[i] += static_cast<double>(y[k + i]) * scale;
        k += run;
    }
}
