// Real FFTs of one power-of-two size N (at least 4), in double precision: ARFFT turns N real
// samples into their spectrum, BRFFT turns a spectrum back into N·(the real samples). Each
// real transform is one radix-2 decimation-in-frequency complex FFT of N/2 points on the
// samples packed in pairs, with the usual split step before or after it.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/SimdKernels.h"

#include <complex>

class RFFT
{
public:
    using Complex = std::complex<double>;

    // [audio thread] Copies count (= halfSize) complex values into the work buffer and
    // transforms them there, unscaled. Any other count leaves everything unchanged.
    virtual void transform(const Complex* data, int count);
    // Diagnostic dump of the result buffer; the engine never calls it.
    virtual void print(int start, int count);
    virtual void printAll();
    virtual void forward(const double* samples);
    virtual void inverse(Complex* bins);

    // [audio thread] Divides all N entries of timeData by N.
    void normalize();

    int size;          // N
    int halfSize;      // N/2, the size of the complex transform
    int stageCount;    // log2(N/2)
    int radix;         // 2
    int span;          // butterfly group span of the last stage run
    int halfSpan;      // span / radix
    double angle;      // 2π / count of the last complex transform
    Complex step;      // twiddle step of the last stage run
    Complex twiddle;   // running twiddle after the last stage run
    Complex* twiddles; // w[j] = exp(−i·2π·j/N), j = 0 … N/2
    Complex* timeData; // BRFFT's work buffer and result
    Complex* spectrum; // ARFFT's work buffer and result
    double length;     // N
    double unitAngle;  // 2π/N

protected:
    // direction −1 for the forward transform, +1 for the inverse; letter tags print lines.
    RFFT(int n, int direction, char letter);
    ~RFFT() = default;
    RFFT(const RFFT&) = delete;
    RFFT& operator=(const RFFT&) = delete;

    // In-place complex FFT of halfSize values: all butterfly stages, then bit reversal.
    void runComplex(Complex* buf);
    Complex* resultBuffer() const;

private:
    void buildStageTwiddles(int direction);
    void buildBitReversal();

    const SimdKernels& m_Kernels;
    const char m_cLetter;
    AlignedArray<Complex> m_Twiddles;
    AlignedArray<Complex> m_TimeData;
    AlignedArray<Complex> m_Spectrum;
    // Per stage, the running-product twiddles of the butterflies, laid out for the kernels.
    AlignedArray<double> m_StageRR;
    AlignedArray<double> m_StageRI;
    // Index pairs (i, j), i < j, that the bit-reversal permutation swaps.
    AlignedArray<int> m_SwapPairs;
    int m_nSwapCount;
};

class ARFFT final : public RFFT
{
public:
    explicit ARFFT(int n);

    // [audio thread] Full N-bin spectrum of N real samples into spectrum.
    void forward(const double* samples) override;
    // [audio thread] Only bins 0 … N/2 (all the convolver reads); the upper half is untouched.
    // The samples are packed in pairs directly into spectrum, the complex transform's buffer.
    void forwardHalf(const double* samples);
};

class BRFFT final : public RFFT
{
public:
    explicit BRFFT(int n);

    // [audio thread] Reads bins 0 … N/2 (0 and N/2 real), overwrites them with intermediate
    // values and leaves N·x[n] as (N·x[n], 0) in timeData.
    void inverse(Complex* bins) override;
    // [audio thread] As inverse, without unpacking: returns the N/2 complex values z whose
    // doubles, read in memory order and multiplied by 2, are N·x[0 … N−1].
    const double* inverseHalf(Complex* bins);
};
