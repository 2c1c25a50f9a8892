#include "engine/CPartitionSpectra.h"
#include "engine/PowerOfTwo.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

int checkedPartitions(int length, int partitionSize)
{
    if (!isPowerOfTwo(partitionSize) || length < partitionSize || length % partitionSize != 0)
        throw std::invalid_argument("CPartitionSpectra: c a power of two, length a multiple of c");
    return length / partitionSize;
}

// k modulo P for any k (P >= 1 partitions, not necessarily a power of two).
int wrapped(int k, int partitions)
{
    const int r = k % partitions;
    return r < 0 ? r + partitions : r;
}

// The kernels for each precision, picked by the rows' type.
void splitBins(const SimdKernels& k, const double* bins, int count, double* re, double* im)
{
    k.splitBins(bins, count, re, im);
}
void splitBins(const SimdKernels& k, const double* bins, int count, float* re, float* im)
{
    k.splitBinsSingle(bins, count, re, im);
}
// Single-precision bins into single-precision rows, or into wider ones (never asked for).
void splitBins(const SimdKernels& k, const float* bins, int count, float* re, float* im)
{
    k.splitSingleBins(bins, count, re, im);
}
void splitBins(const SimdKernels&, const float* bins, int count, double* re, double* im)
{
    for (int b = 0; b < count; ++b)
    {
        re[b] = bins[2 * b];
        im[b] = bins[2 * b + 1];
    }
}
void products(const SimdKernels& k, const double* const* x, const double* const* h, int n, long offset,
              long imOffset, int count, double* out)
{
    k.spectrumProducts(x, h, n, offset, imOffset, count, out);
}
void products(const SimdKernels& k, const float* const* x, const float* const* h, int n, long offset,
              long imOffset, int count, double* out)
{
    k.spectrumProductsSingle(x, h, n, offset, imOffset, count, out);
}
void productPairs(const SimdKernels& k, const double* const* x, const double* const* h, int n, long offset,
                  long imOffset, int count, double* now, double* next)
{
    k.spectrumProductPairs(x, h, n, offset, imOffset, count, now, next);
}
void productPairs(const SimdKernels& k, const float* const* x, const float* const* h, int n, long offset,
                  long imOffset, int count, double* now, double* next)
{
    k.spectrumProductPairsSingle(x, h, n, offset, imOffset, count, now, next);
}

} // namespace

CPartitionSpectra::CPartitionSpectra(int length, int partitionSize, SpectrumPrecision precision)
    : m_Precision(precision)
    , m_nPartitionSize(partitionSize)
    , m_nPartitions(checkedPartitions(length, partitionSize))
    , m_nWidth(partitionSize < kChunkBins ? partitionSize : kChunkBins)
    , m_nChunkStride(2L * m_nWidth * m_nPartitions)
    , m_nNewest(0)
    , m_Single(single() ? 2 * static_cast<std::size_t>(length) : 0, single() ? m_nPartitions : 0)
    , m_Double(single() ? 0 : 2 * static_cast<std::size_t>(length), single() ? 0 : m_nPartitions)
    , m_Scratch(static_cast<std::size_t>(partitionSize) + 1)
    , m_InputWritten(static_cast<std::size_t>(m_nPartitions))
    , m_ResponseWritten(static_cast<std::size_t>(m_nPartitions))
    , m_nInputWritten(0) // the rings start zeroed
    , m_nResponseWritten(0)
    , m_Kernels(selectKernels())
{
    for (int k = 0; k < m_nPartitions; ++k)
    {
        if (single())
            m_Single.slots[k] = slotOf(m_Single.response, k);
        else
            m_Double.slots[k] = slotOf(m_Double.response, k);
    }
    clear();
}

long CPartitionSpectra::ringBytes() const
{
    const long values = 2L * m_nPartitionSize * m_nPartitions;
    return 2 * values * static_cast<long>(single() ? sizeof(float) : sizeof(double));
}

template <class B, class T>
void CPartitionSpectra::storeSlot(const std::complex<B>* bins, T* slot) const
{
    const int c = m_nPartitionSize, w = m_nWidth;
    for (int first = 0; first < c; first += w)
    {
        T* chunk = slot + (first / w) * m_nChunkStride;
        splitBins(m_Kernels, reinterpret_cast<const B*>(bins + first), w, chunk, chunk + w);
    }
    slot[w] = static_cast<T>(bins[c].real()); // bin 0's imaginary part is zero: bin c rides there
}

template <class B, class T>
void CPartitionSpectra::storeInputIn(Rings<T>& rings, const std::complex<B>* bins)
{
    const int P = m_nPartitions;
    m_nNewest = m_nNewest + 1 < P ? m_nNewest + 1 : 0;
    markWritten(m_InputWritten, m_nInputWritten, m_nNewest);
    storeSlot(bins, slotOf(rings.input, m_nNewest));
    for (int k = 0; k < P; ++k)
        rings.window[k] = slotOf(rings.input, wrapped(m_nNewest - k, P));
}

void CPartitionSpectra::storeInput(const Complex* bins)
{
    if (single())
        storeInputIn(m_Single, bins);
    else
        storeInputIn(m_Double, bins);
}

void CPartitionSpectra::storeInput(const std::complex<float>* bins)
{
    if (single())
        storeInputIn(m_Single, bins);
    else
        storeInputIn(m_Double, bins);
}

void CPartitionSpectra::storeResponse(int partition, const Complex* bins)
{
    storeResponseFrom(partition, bins);
}

void CPartitionSpectra::storeResponse(int partition, const std::complex<float>* bins)
{
    storeResponseFrom(partition, bins);
}

template <class B>
void CPartitionSpectra::storeResponseFrom(int partition, const std::complex<B>* bins)
{
    const int slot = wrapped(partition, m_nPartitions);
    markWritten(m_ResponseWritten, m_nResponseWritten, slot);
    if (single())
        storeSlot(bins, slotOf(m_Single.response, slot));
    else
        storeSlot(bins, slotOf(m_Double.response, slot));
}

void CPartitionSpectra::markWritten(AlignedArray<unsigned char>& written, int& count, int slot)
{
    count += written[slot] == 0;
    written[slot] = 1;
}

template <class T>
void CPartitionSpectra::sumRows(const T* const* x, const T* const* h, int n, int first, int count,
                                Complex* out) const
{
    const int w = m_nWidth;
    for (int b = first; b < first + count;)
    {
        const int lane = b % w;
        const int m = std::min(w - lane, first + count - b);
        products(m_Kernels, x, h, n, (b / w) * m_nChunkStride + lane, w, m,
                 reinterpret_cast<double*>(out + b));
        b += m;
    }
    if (first == 0)
        packedEnds(x, h, n, out);
}

template <class T>
void CPartitionSpectra::sumPairs(const T* const* x, const T* const* h, int n, int first, int count,
                                 Complex* now, Complex* next) const
{
    const int w = m_nWidth;
    for (int b = first; b < first + count;)
    {
        const int lane = b % w;
        const int m = std::min(w - lane, first + count - b);
        productPairs(m_Kernels, x, h, n, (b / w) * m_nChunkStride + lane, w, m,
                     reinterpret_cast<double*>(now + b), reinterpret_cast<double*>(next + b));
        b += m;
    }
}

// DC and Nyquist values are real and packed in bin 0: multiplied apart, not as one complex bin.
// Products of single-precision values are exact in double precision.
template <class T>
void CPartitionSpectra::packedEnds(const T* const* x, const T* const* h, int n, Complex* out) const
{
    const int w = m_nWidth;
    double dc = 0.0, nyquist = 0.0;
    for (int k = 0; k < n; ++k)
    {
        dc += static_cast<double>(x[k][0]) * h[k][0];
        nyquist += static_cast<double>(x[k][w]) * h[k][w];
    }
    out[0] = Complex(dc, 0.0);
    out[m_nPartitionSize] = Complex(nyquist, 0.0);
}

void CPartitionSpectra::accumulate(int first, int count, Complex* sums) const
{
    if (single())
        sumRows(m_Single.window.get(), m_Single.slots.get(), m_nPartitions, first, count, sums);
    else
        sumRows(m_Double.window.get(), m_Double.slots.get(), m_nPartitions, first, count, sums);
}

void CPartitionSpectra::accumulatePair(int first, int count, Complex* now, Complex* next) const
{
    auto pair = [&](const auto& rings) {
        const auto* x = rings.window.get();
        const auto* h = rings.slots.get();
        sumPairs(x, h, m_nPartitions, first, count, now, next);
        if (first == 0)
        {
            packedEnds(x, h, m_nPartitions, now);
            packedEnds(x, h + 1, m_nPartitions - 1, next);
        }
    };
    if (single())
        pair(m_Single);
    else
        pair(m_Double);
}

// Through the pair kernel, so that a term comes out with the rounding it has inside a pair's
// begun sum: taking it back out of that sum then leaves the other terms (and exactly zero once
// they are all zero, so that a silenced room is silent to the last bit).
template <class T>
void CPartitionSpectra::accumulateTermsIn(const Rings<T>& rings, const int* age, const int* partition, int n,
                                          int first, int count, Complex* out)
{
    const T* x[4];
    const T* h[4];
    n = std::min(n, 4);
    for (int j = 0; j < n; ++j)
    {
        x[j] = rings.window[wrapped(age[j], m_nPartitions)];
        h[j] = rings.slots[wrapped(partition[j], m_nPartitions)];
    }
    sumPairs(x, h, n, first, count, out, m_Scratch.get());
    if (first == 0)
        packedEnds(x, h, n, out);
}

void CPartitionSpectra::accumulateTerms(const int* age, const int* partition, int n, int first, int count,
                                        Complex* out)
{
    if (single())
        accumulateTermsIn(m_Single, age, partition, n, first, count, out);
    else
        accumulateTermsIn(m_Double, age, partition, n, first, count, out);
}

template <class T>
void CPartitionSpectra::zeroWritten(AlignedArray<T>& ring, AlignedArray<unsigned char>& written, int& count)
{
    // A slot is 2·width values in each of c / width chunks: past a quarter of the slots, one
    // pass over the whole ring is quicker than the scattered pieces.
    if (4 * count >= m_nPartitions)
        ring.zero();
    else
        for (int slot = 0; count > 0 && slot < m_nPartitions; ++slot)
            if (written[slot])
            {
                T* first = slotOf(ring, slot);
                for (int chunk = 0; chunk < m_nPartitionSize / m_nWidth; ++chunk)
                    std::fill_n(first + chunk * m_nChunkStride, 2 * m_nWidth, T(0));
            }
    written.zero();
    count = 0;
}

template <class T>
void CPartitionSpectra::clearIn(Rings<T>& rings)
{
    zeroWritten(rings.input, m_InputWritten, m_nInputWritten);
    zeroWritten(rings.response, m_ResponseWritten, m_nResponseWritten);
    m_nNewest = 0;
    for (int k = 0; k < m_nPartitions; ++k)
        rings.window[k] = slotOf(rings.input, wrapped(m_nNewest - k, m_nPartitions));
}

void CPartitionSpectra::clear()
{
    if (single())
        clearIn(m_Single);
    else
        clearIn(m_Double);
}

template <class T>
bool CPartitionSpectra::forgetInputIn(Rings<T>& rings, long& cursor, long& budget)
{
    const long total = static_cast<long>(rings.input.size() * sizeof(T));
    const long count = std::min(total - cursor, budget);
    if (count > 0)
        std::memset(reinterpret_cast<unsigned char*>(rings.input.get()) + cursor, 0,
                    static_cast<size_t>(count));
    cursor += std::max(count, 0L);
    budget -= std::max(count, 0L);
    if (cursor < total)
        return false;
    m_InputWritten.zero();
    m_nInputWritten = 0;
    return true;
}

bool CPartitionSpectra::forgetInput(long& cursor, long& budget)
{
    return single() ? forgetInputIn(m_Single, cursor, budget) : forgetInputIn(m_Double, cursor, budget);
}
