// The two spectrum rings of a partitioned convolver: the spectra of the last P input blocks
// and of the P response partitions, and the per-bin multiply-accumulate over them.
// Each bin keeps its P partitions next to each other (response by partition number, input
// newest-first in a doubled ring), so that one bin's sum is four straight dot products.
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

    // [audio thread] Stores input bin X and response bin h at ring slot a (slot a & (length − 1),
    // bin a & (c − 1)) and forms Σₖ X(slot − k)·H(slot + 1 + k) over the P partitions; at bin 0
    // the real and imaginary parts (DC and packed Nyquist) are multiplied separately.
    void accumulate(int slot, Complex inputBin, Complex responseBin);
    Complex sum() const { return m_Sum; }

    // [audio thread] Both rings and the sum back to zero.
    void clear();

    int length() const { return m_nLength; }
    int partitionSize() const { return m_nPartitionSize; }

private:
    AlignedArray<double> m_Store;   // per bin: Hr[P], Hi[P], Xr[2P], Xi[2P]
    Complex m_Sum;
    int m_nLength;
    int m_nPartitionSize;
    int m_nPartitions;
    int m_nPartitionShift;   // log2(c)
    int m_nBinStride;        // 6P doubles
    const SimdKernels& m_Kernels;
};
