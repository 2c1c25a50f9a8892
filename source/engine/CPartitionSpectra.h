// The two spectrum rings of a partitioned convolver: the spectra of the last P input blocks
// (the frequency-domain delay line) and of the P response partitions, and the multiply-
// accumulate over them. The bins are stored in chunks of 32 (fewer when c is smaller), and a
// chunk of every spectrum lies next to the same chunk of the others: the multiply-accumulate
// of one chunk walks one contiguous stretch of memory, which the processor's prefetchers
// follow, instead of jumping between P rows. Within a chunk, 32 real parts precede 32
// imaginary parts. A spectrum of 2c real points has c + 1 distinct bins, of which bins 0 and
// c are real: bin c's value rides in the imaginary part of bin 0.
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

    // [audio thread] Bins 0 … c of the newest input block's spectrum (bins 0 and c real);
    // the oldest block drops out of the window.
    void storeInput(const Complex* bins);
    // [audio thread] Bins 0 … c of response partition p's spectrum (0 <= p < P).
    void storeResponse(int partition, const Complex* bins);

    // [audio thread] sums[b] = Σₖ X(newest − k)·H(k) over the P partitions, for bins b in
    // [first, first + count) (first a multiple of 8, first + count <= c). The range holding
    // bin 0 also sets bins 0 and c, each the sum of real products of its real values (as do
    // the two operations below).
    void accumulate(int first, int count, Complex* sums) const;
    // [audio thread] As accumulate into now, and from the same pass over the rings
    // next[b] = Σₖ X(newest − k)·H(k + 1) over k < P − 1: all of the following block's sum
    // that does not involve its newest input block or a renewed partition.
    void accumulatePair(int first, int count, Complex* now, Complex* next) const;
    // [audio thread] out[b] = Σ X(newest − age[j])·H(partition[j]) over the n <= 4 given terms,
    // each rounded exactly as inside accumulatePair's sums.
    void accumulateTerms(const int* age, const int* partition, int n, int first, int count, Complex* out);

    // [audio thread] Both rings back to zero, the window back to its first slot. Only the slots
    // written since the last clear are zeroed when they are few (a reset soon after the last).
    void clear();

    int partitions() const { return m_nPartitions; }

private:
    static constexpr int kChunkBins = 32;

    // Spectrum slot: its first chunk; chunk q lies m_nChunkStride doubles further on.
    void storeSlot(const Complex* bins, double* slot) const;
    // The chunk walk shared by the sums: kernel over rows x[k], h[k] (k < n), bins
    // [first, first + count) into out, and bins 0 and c as real products when first is 0.
    void sumRows(const double* const* x, const double* const* h, int n, int first, int count,
                 Complex* out) const;
    void packedEnds(const double* const* x, const double* const* h, int n, Complex* out) const;
    double* inputSlot(int slot) const { return m_Input.get() + 2L * m_nWidth * slot; }
    double* responseSlot(int slot) const { return m_Response.get() + 2L * m_nWidth * slot; }
    // Notes slot as written since the last clear.
    static void markWritten(AlignedArray<unsigned char>& written, int& count, int slot);
    // Zeroes the written slots of ring (the whole ring when they are many) and forgets them.
    void zeroWritten(AlignedArray<double>& ring, AlignedArray<unsigned char>& written, int& count);

    int m_nPartitionSize;
    int m_nPartitions;
    int m_nWidth;                                  // bins per chunk: min(c, 32)
    long m_nChunkStride;                           // doubles per chunk of a whole ring: 2·width·P
    int m_nNewest;                                 // input slot of the newest block
    AlignedArray<double> m_Input;                  // [chunk][slot][re, im], slots a ring
    AlignedArray<double> m_Response;               // [chunk][partition][re, im]
    AlignedArray<const double*> m_Window;          // input slots newest first: Window[k] = X(newest − k)
    AlignedArray<const double*> m_Partitions;      // response slots: Partitions[k] = H(k)
    AlignedArray<Complex> m_Scratch;               // the pair kernel's unused second sum
    AlignedArray<unsigned char> m_InputWritten;    // per input slot: written since the last clear
    AlignedArray<unsigned char> m_ResponseWritten; // per response slot: the same
    int m_nInputWritten;                           // how many input slots are marked
    int m_nResponseWritten;                        // how many response slots are marked
    const SimdKernels& m_Kernels;
};
