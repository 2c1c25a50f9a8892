// The block convolver: one transform each way and one pass over the rings per block.
#include "engine/CBlockConvolver.h"
#include "engine/PowerOfTwo.h"

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

void CBlockConvolver::processBlock(const double* block, double* ring, long mask, long at)
{
    const int c = m_nPartitionSize;
    m_Spectra.storeInput(m_Transforms.forwardPadded(block));
    m_Spectra.accumulate(0, c, m_Sum.get());
    // The float inverse gives 2c·y; the scaling by 1/2c is exact.
    const float* y = m_Transforms.inverse(m_Sum.get());
    const double scale = 1.0 / (2.0 * c);
    const long n = 2L * c;
    const long first = at & mask;
    const long run = std::min(n, mask + 1 - first); // up to the ring's end, then from its start
    double* out = ring + first;
    for (long k = 0; k < run; ++k)
        out[k] += static_cast<double>(y[k]) * scale;
    for (long k = run; k < n; ++k)
        ring[k - run] += static_cast<double>(y[k]) * scale;
}
