#include "engine/CPartitionSpectra.h"
#include "engine/PowerOfTwo.h"

#include <stdexcept>

namespace {

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
    for (int i = 0; i < count;) {
        const int bin = firstBin + i;
        const int lane = bin & (kLanes - 1);
        double* hr = group(bin) + kLanes * partition;
        double* hi = hr + kLanes * P;
        double* xr = group(bin) + 2 * kLanes * P + kLanes * newest;
        double* xi = xr + 2 * kLanes * P;
        if (lane == 0 && count - i >= kLanes) {
            // A whole group at once: deinterleaved by the vector kernel.
            m_Kernels.storeGroup(reinterpret_cast<const double*>(responseBins + i), hr, hi, 0);
            m_Kernels.storeGroup(reinterpret_cast<const double*>(inputBins + i), xr, xi, kLanes * P);
            i += kLanes;
            continue;
        }
        hr[lane] = responseBins[i].real();
        hi[lane] = responseBins[i].imag();
        xr[lane] = xr[kLanes * P + lane] = inputBins[i].real();
        xi[lane] = xi[kLanes * P + lane] = inputBins[i].imag();
        ++i;
    }
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
        // Whole groups away from bin 0 take their complex sums straight from the kernel.
        if (bin != 0 && (bin & (kLanes - 1)) == 0 && count - i >= kLanes) {
            m_Kernels.groupComplexSums(xr + kLanes * newest, xr + 2 * kLanes * P + kLanes * newest, g,
                                       g + kLanes * P, P, reinterpret_cast<double*>(sums + i));
            i += kLanes;
            continue;
        }
        m_Kernels.groupProducts(xr + kLanes * newest, xr + 2 * kLanes * P + kLanes * newest, g,
                                g + kLanes * P, P, lanes);
        // The rest of this group's bins that fall inside the range.
        for (int lane = bin & (kLanes - 1); lane < kLanes && i < count; ++lane, ++i)
            sums[i] = Complex(lanes[lane] - lanes[kLanes + lane], lanes[2 * kLanes + lane] + lanes[3 * kLanes + lane]);
        // Bin 0 carries DC and the packed Nyquist value: both real, multiplied apart.
        if (bin == 0)
            sums[0] = Complex(lanes[0], lanes[kLanes]);
    }
}

void CPartitionSpectra::clear()
{
    m_Store.zero();
}
