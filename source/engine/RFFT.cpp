// Radix-2 DIF complex FFT with tabulated running-product twiddles and a tabulated bit
// reversal, plus the split steps that turn it into real transforms.
#include "engine/RFFT.h"
#include "engine/PowerOfTwo.h"

#include <cassert>
#include <cmath>
#include <cstring>
#include <iostream>

RFFT::RFFT(int n, int direction, char letter)
    : size(n)
    , halfSize(n / 2)
    , stageCount(log2Of(n / 2))
    , length(n)
    , m_Kernels(selectKernels())
    , m_cLetter(letter)
    , m_pTables(RFFTTables::shared(n, direction))
    , m_Work(n)
{
    assert(isPowerOfTwo(n) && n >= 4 && "the split real transform needs a power of two, at least 4");
    twiddles = m_pTables->twiddles();
    timeData = m_Work.get();
    spectrum = m_Work.get();
}

void RFFT::runComplex(Complex* buf)
{
    runStages(buf, 1);
    bitReverse(buf);
}

// Stages run two at a time where both have butterfly distances of at least 2: half the passes
// over the buffer, the same arithmetic.
void RFFT::runStages(Complex* buf, int firstStage)
{
    double* data = reinterpret_cast<double*>(buf);
    const double* rr = m_pTables->stageRR();
    const double* ri = m_pTables->stageRI();
    int offset = 0;
    for (int s = 1; s <= stageCount;)
    {
        const int halfSpan = halfSize >> s; // butterfly distance; groups span twice that
        if (s < firstStage)
        {
            offset += 2 * halfSpan;
            ++s;
        }
        else if (halfSpan >= 4)
        {
            m_Kernels.difStagePair(data, halfSize, halfSpan, rr + offset, ri + offset,
                                   rr + offset + 2 * halfSpan, ri + offset + 2 * halfSpan);
            offset += 3 * halfSpan;
            s += 2;
        }
        else
        {
            if (halfSpan >= 2)
                m_Kernels.difStage(data, halfSize, halfSpan, rr + offset, ri + offset);
            else
                m_Kernels.difLastStage(data, halfSize);
            offset += 2 * halfSpan;
            ++s;
        }
    }
}

void RFFT::bitReverse(Complex* buf)
{
    const int* pairs = m_pTables->swapPairs();
    const int count = m_pTables->swapCount();
    for (int p = 0; p < count; ++p)
    {
        const Complex t = buf[pairs[2 * p]];
        buf[pairs[2 * p]] = buf[pairs[2 * p + 1]];
        buf[pairs[2 * p + 1]] = t;
    }
}

RFFT::Complex* RFFT::resultBuffer() const { return m_cLetter == 'F' ? spectrum : timeData; }

void RFFT::transform(const Complex* data, int count)
{
    // A wrong count is a caller's fault: it fires in checked builds and does nothing in release.
    assert(count == halfSize && data != nullptr && "transform takes exactly halfSize values");
    if (count != halfSize || data == nullptr)
        return;
    Complex* work = resultBuffer();
    if (work != data)
        std::memmove(static_cast<void*>(work), data, sizeof(Complex) * count);
    runComplex(work);
}

void RFFT::print(int start, int count)
{
    if (start < 0 || count <= 0 || start + count > size)
        return;
    const Complex* result = resultBuffer();
    for (int i = start; i < start + count; ++i)
        std::cout << m_cLetter << "[" << i << "] = " << result[i] << std::endl;
}

void RFFT::printAll() { print(0, size); }

void RFFT::forward(const double*) {}

void RFFT::inverse(Complex*) {}

void RFFT::normalize()
{
    for (int i = 0; i < size; ++i)
        timeData[i] /= length;
}

ARFFT::ARFFT(int n)
    : RFFT(n, -1, 'F')
    , m_Packed(n / 2)
{}

void ARFFT::forwardHalf(const double* samples)
{
    // The real samples in memory order already are the pairs (x[2n], x[2n+1]).
    std::memcpy(static_cast<void*>(m_Packed.get()), samples, sizeof(double) * size);
    runStages(m_Packed.get(), 1);
    split();
}

void ARFFT::forwardHalfPadded(const double* samples)
{
    double* packed = reinterpret_cast<double*>(m_Packed.get());
    kernels().difFirstStageHalfZero(samples, packed, halfSize, stageOneRR(), stageOneRI());
    runStages(m_Packed.get(), 2);
    split();
}

// X[k] = ½(A + B* − w[k]·i·(A − B*)) with A = Z[k], B = Z[N/2 − k] (Z[N/2] = Z[0]), reading Z
// through the bit reversal, which saves a separate permutation pass.
void ARFFT::split()
{
    kernels().forwardSplit(reinterpret_cast<const double*>(m_Packed.get()), bitReversedIndex(),
                           reinterpret_cast<const double*>(twiddles), halfSize / 2,
                           reinterpret_cast<double*>(spectrum));
}

void ARFFT::forward(const double* samples)
{
    forwardHalf(samples);
    for (int k = 1; k < halfSize; ++k)
        spectrum[size - k] = std::conj(spectrum[k]);
}

BRFFT::BRFFT(int n)
    : RFFT(n, +1, 'f')
{}

// Y[k] = ½(A + B* + conj(w[k])·i·(A − B*)) with A = y[k], B = y[N/2 − k], written into the
// work buffer so that no copy precedes the complex transform.
const double* BRFFT::inverseHalf(Complex* y)
{
    kernels().inverseSplit(reinterpret_cast<const double*>(y), reinterpret_cast<const double*>(twiddles),
                           halfSize / 2, reinterpret_cast<double*>(timeData));
    runComplex(timeData);
    return reinterpret_cast<const double*>(timeData);
}

const RFFT::Complex* BRFFT::inverseHalfBitReversed(Complex* y)
{
    kernels().inverseSplit(reinterpret_cast<const double*>(y), reinterpret_cast<const double*>(twiddles),
                           halfSize / 2, reinterpret_cast<double*>(timeData));
    runStages(timeData, 1);
    return timeData;
}

void BRFFT::inverse(Complex* bins)
{
    inverseHalf(bins);
    // Top down, so that every z[n] is read before its slot is overwritten.
    for (int n = halfSize - 1; n >= 0; --n)
    {
        const Complex z = timeData[n];
        timeData[2 * n + 1] = Complex(2.0 * z.imag(), 0.0);
        timeData[2 * n] = Complex(2.0 * z.real(), 0.0);
    }
}
