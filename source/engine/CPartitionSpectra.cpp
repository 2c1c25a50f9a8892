#include "engine/CPartitionSpectra.h"
#include "engine/PowerOfTwo.h"

#include <algorithm>
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
    : m_nPartitionSize(partitionSize)
    , m_nPartitions(checkedPartitions(length, partitionSize))
    , m_nWidth(partitionSize < kChunkBins ? partitionSize : kChunkBins)
    , m_nChunkStride(2L * m_nWidth * m_nPartitions)
    , m_nNewest(0)
    , m_Input(2 * static_cast<std::size_t>(length))
    , m_Response(2 * static_cast<std::size_t>(length))
    , m_Window(static_cast<std::size_t>(m_nPartitions))
    , m_Partitions(static_cast<std::size_t>(m_nPartitions))
    , m_Scratch(static_cast<std::size_t>(partitionSize) + 1)
    , m_InputWritten(static_cast<std::size_t>(m_nPartitions))
    , m_ResponseWritten(static_cast<std::size_t>(m_nPartitions))
    , m_nInputWritten(0) // the rings start zeroed
    , m_nResponseWritten(0)
    , m_Kernels(selectKernels())
{
    for (int k = 0; k < m_nPartitions; ++k)
        m_Partitions[k] = responseSlot(k);
    clear();
}

void CPartitionSpectra::storeSlot(const Complex* bins, double* slot) const
{
    const int c = m_nPartitionSize, w = m_nWidth;
    for (int first = 0; first < c; first += w)
    {
        double* chunk = slot + (first / w) * m_nChunkStride;
        m_Kernels.splitBins(reinterpret_cast<const double*>(bins + first), w, chunk, chunk + w);
    }
    slot[w] = bins[c].real(); // bin 0's imaginary part is zero: bin c rides there
}

void CPartitionSpectra::storeInput(const Complex* bins)
{
    const int P = m_nPartitions;
    m_nNewest = (m_nNewest + 1) & (P - 1);
    markWritten(m_InputWritten, m_nInputWritten, m_nNewest);
    storeSlot(bins, inputSlot(m_nNewest));
    for (int k = 0; k < P; ++k)
        m_Window[k] = inputSlot((m_nNewest - k) & (P - 1));
}

void CPartitionSpectra::storeResponse(int partition, const Complex* bins)
{
    const int slot = partition & (m_nPartitions - 1);
    markWritten(m_ResponseWritten, m_nResponseWritten, slot);
    storeSlot(bins, responseSlot(slot));
}

void CPartitionSpectra::markWritten(AlignedArray<unsigned char>& written, int& count, int slot)
{
    count += written[slot] == 0;
    written[slot] = 1;
}

void CPartitionSpectra::sumRows(const double* const* x, const double* const* h, int n, int first, int count,
                                Complex* out) const
{
    const int w = m_nWidth;
    for (int b = first; b < first + count;)
    {
        const int lane = b % w;
        const int m = std::min(w - lane, first + count - b);
        m_Kernels.spectrumProducts(x, h, n, (b / w) * m_nChunkStride + lane, w, m,
                                   reinterpret_cast<double*>(out + b));
        b += m;
    }
    if (first == 0)
        packedEnds(x, h, n, out);
}

// DC and Nyquist values are real and packed in bin 0: multiplied apart, not as one complex bin.
void CPartitionSpectra::packedEnds(const double* const* x, const double* const* h, int n, Complex* out) const
{
    const int w = m_nWidth;
    double dc = 0.0, nyquist = 0.0;
    for (int k = 0; k < n; ++k)
    {
        dc += x[k][0] * h[k][0];
        nyquist += x[k][w] * h[k][w];
    }
    out[0] = Complex(dc, 0.0);
    out[m_nPartitionSize] = Complex(nyquist, 0.0);
}

void CPartitionSpectra::accumulate(int first, int count, Complex* sums) const
{
    sumRows(m_Window.get(), m_Partitions.get(), m_nPartitions, first, count, sums);
}

void CPartitionSpectra::accumulatePair(int first, int count, Complex* now, Complex* next) const
{
    const int w = m_nWidth;
    const double* const* x = m_Window.get();
    const double* const* h = m_Partitions.get();
    for (int b = first; b < first + count;)
    {
        const int lane = b % w;
        const int m = std::min(w - lane, first + count - b);
        m_Kernels.spectrumProductPairs(x, h, m_nPartitions, (b / w) * m_nChunkStride + lane, w, m,
                                       reinterpret_cast<double*>(now + b),
                                       reinterpret_cast<double*>(next + b));
        b += m;
    }
    if (first == 0)
    {
        packedEnds(x, h, m_nPartitions, now);
        packedEnds(x, h + 1, m_nPartitions - 1, next);
    }
}

// Through the pair kernel, so that a term comes out with exactly the rounding it has inside a
// pair's begun sum: taking it back out of that sum then leaves exactly the other terms (and
// exactly zero once they are all zero, so that a silenced room is silent to the last bit).
void CPartitionSpectra::accumulateTerms(const int* age, const int* partition, int n, int first, int count,
                                        Complex* out)
{
    const double* x[4];
    const double* h[4];
    n = std::min(n, 4);
    for (int j = 0; j < n; ++j)
    {
        x[j] = m_Window[age[j] & (m_nPartitions - 1)];
        h[j] = m_Partitions[partition[j] & (m_nPartitions - 1)];
    }
    const int w = m_nWidth;
    for (int b = first; b < first + count;)
    {
        const int lane = b % w;
        const int m = std::min(w - lane, first + count - b);
        m_Kernels.spectrumProductPairs(x, h, n, (b / w) * m_nChunkStride + lane, w, m,
                                       reinterpret_cast<double*>(out + b),
                                       reinterpret_cast<double*>(m_Scratch.get() + b));
        b += m;
    }
    if (first == 0)
        packedEnds(x, h, n, out);
}

void CPartitionSpectra::zeroWritten(AlignedArray<double>& ring, AlignedArray<unsigned char>& written,
                                    int& count)
{
    // A slot is 2·width doubles in each of c / width chunks: past a quarter of the slots, one
    // pass over the whole ring is quicker than the scattered pieces.
    if (4 * count >= m_nPartitions)
        ring.zero();
    else
        for (int slot = 0; count > 0 && slot < m_nPartitions; ++slot)
            if (written[slot])
            {
                double* first = ring.get() + 2L * m_nWidth * slot;
                for (int chunk = 0; chunk < m_nPartitionSize / m_nWidth; ++chunk)
                    std::fill_n(first + chunk * m_nChunkStride, 2 * m_nWidth, 0.0);
            }
    written.zero();
    count = 0;
}

void CPartitionSpectra::clear()
{
    zeroWritten(m_Input, m_InputWritten, m_nInputWritten);
    zeroWritten(m_Response, m_ResponseWritten, m_nResponseWritten);
    m_nNewest = 0;
    for (int k = 0; k < m_nPartitions; ++k)
        m_Window[k] = inputSlot((m_nNewest - k) & (m_nPartitions - 1));
}
