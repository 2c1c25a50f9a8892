// The two spectrum rings of a partitioned convolver: the spectra of the last P input blocks
// (the frequency-domain delay line) and of the P response partitions, and the multiply-
// accumulate over them. The bins are stored in chunks of 32 (fewer when c is smaller), and a
// chunk of every spectrum lies next to the same chunk of the others: the multiply-accumulate
// of one chunk walks one contiguous stretch of memory, which the processor's prefetchers
// follow, instead of jumping between P rows. Within a chunk, 32 real parts precede 32
// imaginary parts. A spectrum of 2c real points has c + 1 distinct bins, of which bins 0 and
// c are real: bin c's value rides in the imaginary part of bin 0.
// The rings hold single-precision values (half the memory to stream, twice the products per
// instruction) or double-precision ones, as the stage asks; the sums come out as doubles.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/SimdKernels.h"
#include "engine/SpectrumPrecision.h"

#include <complex>

class CPartitionSpectra
{
public:
    using Complex = std::complex<double>;

    // length = P·c: partitionSize a power of two, length a multiple of it (P >= 1, any count).
    // Throws std::invalid_argument otherwise.
    CPartitionSpectra(int length, int partitionSize, SpectrumPrecision precision = kDefaultSpectrumPrecision);

    // [audio thread] Bins 0 … c of the newest input block's spectrum (bins 0 and c real);
    // the oldest block drops out of the window.
    void storeInput(const Complex* bins);
    // [audio thread] Bins 0 … c of response partition p's spectrum (0 <= p < P).
    void storeResponse(int partition, const Complex* bins);
    // [audio thread] The same from single-precision bins (as a float transform gives them).
    void storeInput(const std::complex<float>* bins);
    void storeResponse(int partition, const std::complex<float>* bins);

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
    // each rounded as inside accumulatePair's sums.
    void accumulateTerms(const int* age, const int* partition, int n, int first, int count, Complex* out);

    // [audio thread] Both rings back to zero, the window back to its first slot. Only the slots
    // written since the last clear are zeroed when they are few (a reset soon after the last).
    void clear();
    // [audio thread] Zeroes the input ring piece by piece, from byte `cursor` on and at most
    // `budget` bytes (both advanced); true once the whole ring is zero. The window stays where
    // it is, so the sums go on as if only zeros had come in; the response ring is untouched.
    bool forgetInput(long& cursor, long& budget);

    int partitions() const { return m_nPartitions; }
    SpectrumPrecision precision() const { return m_Precision; }
    // Bytes the two rings hold (what one block's multiply-accumulate streams through).
    long ringBytes() const;

private:
    static constexpr int kChunkBins = 32;

    // The rings in one precision; the other precision's stay empty.
    template <class T>
    struct Rings
    {
        explicit Rings(std::size_t values, std::size_t partitions)
            : input(values)
            , response(values)
            , window(partitions)
            , slots(partitions)
        {}
        AlignedArray<T> input;         // [chunk][slot][re, im], slots a ring
        AlignedArray<T> response;      // [chunk][partition][re, im]
        AlignedArray<const T*> window; // input slots newest first: window[k] = X(newest − k)
        AlignedArray<const T*> slots;  // response slots: slots[k] = H(k)
    };

    template <class B, class T>
    void storeSlot(const std::complex<B>* bins, T* slot) const;
    template <class B, class T>
    void storeInputIn(Rings<T>& rings, const std::complex<B>* bins);
    template <class B>
    void storeResponseFrom(int partition, const std::complex<B>* bins);
    // The chunk walk shared by the sums: kernel over rows x[k], h[k] (k < n), bins
    // [first, first + count) into out, and bins 0 and c as real products when first is 0.
    template <class T>
    void sumRows(const T* const* x, const T* const* h, int n, int first, int count, Complex* out) const;
    template <class T>
    void sumPairs(const T* const* x, const T* const* h, int n, int first, int count, Complex* now,
                  Complex* next) const;
    template <class T>
    void packedEnds(const T* const* x, const T* const* h, int n, Complex* out) const;
    template <class T>
    void accumulateTermsIn(const Rings<T>& rings, const int* age, const int* partition, int n, int first,
                           int count, Complex* out);
    template <class T>
    void clearIn(Rings<T>& rings);
    template <class T>
    bool forgetInputIn(Rings<T>& rings, long& cursor, long& budget);
    template <class T>
    T* slotOf(const AlignedArray<T>& ring, int slot) const
    {
        return ring.get() + 2L * m_nWidth * slot;
    }
    // Notes slot as written since the last clear.
    static void markWritten(AlignedArray<unsigned char>& written, int& count, int slot);
    // Zeroes the written slots of ring (the whole ring when they are many) and forgets them.
    template <class T>
    void zeroWritten(AlignedArray<T>& ring, AlignedArray<unsigned char>& written, int& count);

    bool single() const { return m_Precision == SpectrumPrecision::kSingle; }

    SpectrumPrecision m_Precision;
    int m_nPartitionSize;
    int m_nPartitions;
    int m_nWidth;                                  // bins per chunk: min(c, 32)
    long m_nChunkStride;                           // values per chunk of a whole ring: 2·width·P
    int m_nNewest;                                 // input slot of the newest block
    Rings<float> m_Single;                         // the rings when single precision
    Rings<double> m_Double;                        // the rings when double precision
    AlignedArray<Complex> m_Scratch;               // the pair kernel's unused second sum
    AlignedArray<unsigned char> m_InputWritten;    // per input slot: written since the last clear
    AlignedArray<unsigned char> m_ResponseWritten; // per response slot: the same
    int m_nInputWritten;                           // how many input slots are marked
    int m_nResponseWritten;                        // how many response slots are marked
    const SimdKernels& m_Kernels;
};
