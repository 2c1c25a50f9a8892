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
    : m_Store(static_cast<std::size_t>(6) * checkedPartitions(length, partitionSize) *
              ((partitionSize + kLanes - 1) / kLanes * kLanes))
    , m_Sum(0.0, 0.0)
    , m_nLength(length)
    , m_nPartitionSize(partitionSize)
    , m_nPartitions(length / partitionSize)
    , m_nPartitionShift(log2Of(partitionSize))
    , m_nGroupStride(6 * kLanes * (length / partitionSize))
    , m_Kernels(selectKernels())
{
}

// Ring slot s holds input block "s" and the response partition gathered one block earlier, so
// response slot s + 1 + k is partition k: the response ring is stored by partition. Input slot s
// sits at window row P − 1 − s and again P rows later, so the P slots s, s − 1, … always form
// one contiguous window starting at row P − 1 − s.
void CPartitionSpectra::store(int wrapped, int count, const Complex* inputBins, const Complex* responseBins)
{
    const int P = m_nPartitions;
    const int ringSlot = wrapped >> m_nPartitionShift;
    const int partition = (ringSlot - 1) & (P - 1);
    const int newest = P - 1 - ringSlot;
    const int firstBin = wrapped & (m_nPartitionSize - 1);
    for (int i = 0; i < count; ++i) {
        const int bin = firstBin + i;
        const int lane = bin & (kLanes - 1);
        double* g = group(bin);
        g[kLanes * partition + lane] = responseBins[i].real();
        g[kLanes * (P + partition) + lane] = responseBins[i].imag();
        double* xr = g + 2 * kLanes * P;
        double* xi = xr + 2 * kLanes * P;
        xr[kLanes * newest + lane] = xr[kLanes * (newest + P) + lane] = inputBins[i].real();
        xi[kLanes * newest + lane] = xi[kLanes * (newest + P) + lane] = inputBins[i].imag();
    }
}

void CPartitionSpectra::accumulate(int slot, Complex inputBin, Complex responseBin)
{
    accumulateBins(slot, 1, &inputBin, &responseBin, &m_Sum);
}

void CPartitionSpectra::accumulateBins(int slot, int count, const Complex* inputBins,
                                       const Complex* responseBins, Complex* sums)
{
    const int wrapped = slot & (m_nLength - 1);
    store(wrapped, count, inputBins, responseBins);
    const int P = m_nPartitions;
    const int newest = P - 1 - (wrapped >> m_nPartitionShift);
    const int firstBin = wrapped & (m_nPartitionSize - 1);
    double lanes[4 * kLanes];
    for (int i = 0; i < count;) {
        const int bin = firstBin + i;
        const double* g = group(bin);
        const double* xr = g + 2 * kLanes * P;
        m_Kernels.groupProducts(xr + kLanes * newest, xr + 2 * kLanes * P + kLanes * newest, g,
                                g + kLanes * P, P, lanes);
        // The rest of this group's bins that fall inside the range.
        for (int lane = bin & (kLanes - 1); lane < kLanes && i < count; ++lane, ++i) {
            const double rr = lanes[lane], ii = lanes[kLanes + lane];
            const double ri = lanes[2 * kLanes + lane], ir = lanes[3 * kLanes + lane];
            // Bin 0 carries DC and the packed Nyquist value: both real, multiplied apart.
            sums[i] = (firstBin + i) != 0 ? Complex(rr - ii, ri + ir) : Complex(rr, ii);
        }
    }
    m_Sum = sums[count - 1];
}

void CPartitionSpectra::clear()
{
    m_Store.zero();
    m_Sum = Complex(0.0, 0.0);
}
