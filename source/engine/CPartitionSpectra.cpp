#include "engine/CPartitionSpectra.h"

#include <stdexcept>

namespace {

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

int log2Of(int n)
{
    int bits = 0;
    while ((1 << (bits + 1)) <= n)
        ++bits;
    return bits;
}

int checkedPartitions(int length, int partitionSize)
{
    if (!isPowerOfTwo(length) || !isPowerOfTwo(partitionSize) || partitionSize > length)
        throw std::invalid_argument("CPartitionSpectra: sizes must be powers of two, c <= length");
    return length / partitionSize;
}

} // namespace

CPartitionSpectra::CPartitionSpectra(int length, int partitionSize)
    : m_Store(static_cast<std::size_t>(6) * checkedPartitions(length, partitionSize) * partitionSize)
    , m_Sum(0.0, 0.0)
    , m_nLength(length)
    , m_nPartitionSize(partitionSize)
    , m_nPartitions(length / partitionSize)
    , m_nPartitionShift(log2Of(partitionSize))
    , m_nBinStride(6 * (length / partitionSize))
    , m_Kernels(selectKernels())
{
}

void CPartitionSpectra::accumulate(int slot, Complex inputBin, Complex responseBin)
{
    // Ring slot s holds input block "s" and the response partition gathered one block earlier,
    // so response slot s + 1 + k is partition k: the response ring is stored by partition.
    const int wrapped = slot & (m_nLength - 1);
    const int bin = wrapped & (m_nPartitionSize - 1);
    const int ringSlot = wrapped >> m_nPartitionShift;
    const int P = m_nPartitions;
    double* hr = m_Store.get() + static_cast<long>(bin) * m_nBinStride;
    double* hi = hr + P;
    double* xr = hi + P;
    double* xi = xr + 2 * P;

    const int partition = (ringSlot - 1) & (P - 1);
    hr[partition] = responseBin.real();
    hi[partition] = responseBin.imag();

    // Input slots newest first: slot s sits at P − 1 − s, and again P places later, so the
    // P slots s, s − 1, … always form one contiguous window.
    const int newest = P - 1 - ringSlot;
    xr[newest] = xr[newest + P] = inputBin.real();
    xi[newest] = xi[newest + P] = inputBin.imag();

    double sums[4];
    m_Kernels.dotProducts(xr + newest, xi + newest, hr, hi, P, sums);
    m_Sum = bin != 0 ? Complex(sums[0] - sums[1], sums[2] + sums[3]) : Complex(sums[0], sums[1]);
}

void CPartitionSpectra::clear()
{
    m_Store.zero();
    m_Sum = Complex(0.0, 0.0);
}
