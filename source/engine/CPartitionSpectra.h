// The two spectrum rings of a partitioned convolver: the spectra of the last P input blocks
// and of the P response partitions, and the per-bin multiply-accumulate over them.
// Bins are stored in groups of four, each group holding its P partitions as [k][bin] (response
// by partition number, input newest-first in a doubled ring), so that the sums of four bins
// are straight vector multiply-adds over one contiguous stretch of memory.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/SimdKernels.h"

#include <complex>

class CPartitionSpectra
{
public:
    using Complex = std::complex<double>;

    // length = P·c; both length and partitionSize powers of two, partitionSize <= length.
    // Throws std::invalid_argument otherwise.
    CPartitionSpectra(int length, int partitionSize);

    // [audio thread] Stores count consecutive input bins X and response bins h at ring slot a
    // (slot a & (length − 1), first bin a & (c − 1); all in one slot) and gives in sums[i] the
    // sum Σₖ X(slot − k)·H(slot + 1 + k) of bin i over the P partitions; at bin 0 the real and
    // imaginary parts (DC and packed Nyquist) are multiplied separately.
    void accumulateBins(int slot, int count, const Complex* inputBins, const Complex* responseBins,
                        Complex* sums);

    // [audio thread] Both rings back to zero.
    void clear();

private:
    static constexpr int kLanes = 4;   // bins per group

    // Writes the bins into both rings (the input bins into both rows of the doubled ring).
    void store(int wrapped, int count, const Complex* inputBins, const Complex* responseBins);
    double* group(int bin) const { return m_Store.get() + static_cast<long>(bin / kLanes) * m_nGroupStride; }

    AlignedArray<double> m_Store;   // per group of 4 bins: Hr[P][4], Hi[P][4], Xr[2P][4], Xi[2P][4]
    int m_nLength;
    int m_nPartitionSize;
    int m_nPartitions;
    int m_nPartitionShift;   // log2(c)
    int m_nGroupStride;      // 24P doubles
    const SimdKernels& m_Kernels;
};
