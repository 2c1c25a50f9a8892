// Real FFTs of one power-of-two size N (at least 4), in double precision: ARFFT turns N real
// samples into their spectrum, BRFFT turns a spectrum back into N·(the real samples). Each
// real transform is one radix-2 decimation-in-frequency complex FFT of N/2 points on the
// samples packed in pairs, with the usual split step before or after it. The tables are
// shared by every transform of the same size and direction (RFFTTables); a transform owns only
// its work buffer.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/RFFTTables.h"
#include "engine/SimdKernels.h"

#include <complex>
#include <memory>

class RFFT
{
public:
    using Complex = std::complex<double>;

    // [audio thread] Copies count (= halfSize) complex values into the work buffer and
    // transforms them there, unscaled. Any other count leaves everything unchanged.
    virtual void transform(const Complex* data, int count);
    // rev[k]: where bin k of the complex transform sits before bit reversal; rev[N/2] = 0.
    const int* bitReversedIndex() const { return m_pTables->bitReversed(); }

    // Diagnostic dump of the result buffer; the engine never calls it.
    virtual void print(int start, int count);
    virtual void printAll();
    virtual void forward(const double* samples);
    virtual void inverse(Complex* bins);

    // [audio thread] Divides all N entries of timeData by N.
    void normalize();

    int size;                // N
    int halfSize;            // N/2, the size of the complex transform
    int stageCount;          // log2(N/2)
    const Complex* twiddles; // w[j] = exp(−i·2π·j/N), j = 0 … N/2
    Complex* timeData;       // BRFFT's work buffer and result (N values)
    Complex* spectrum;       // ARFFT's work buffer and result: the same N values as timeData
    double length;           // N, the divisor of normalize

protected:
    // direction −1 for the forward transform, +1 for the inverse; letter tags print lines.
    RFFT(int n, int direction, char letter);
    ~RFFT() = default;
    RFFT(const RFFT&) = delete;
    RFFT& operator=(const RFFT&) = delete;

    // In-place complex FFT of halfSize values: all butterfly stages, then bit reversal.
    void runComplex(Complex* buf);
    // Butterfly stages from stage firstStage (1-based) on, in place, output bit-reversed.
    void runStages(Complex* buf, int firstStage);
    void bitReverse(Complex* buf);
    Complex* resultBuffer() const;

    const SimdKernels& kernels() const { return m_Kernels; }
    const double* stageOneRR() const { return m_pTables->stageRR(); }
    const double* stageOneRI() const { return m_pTables->stageRI(); }

private:
    const SimdKernels& m_Kernels;
    const char m_cLetter;
    std::shared_ptr<const RFFTTables> m_pTables;
    AlignedArray<Complex> m_Work; // timeData and spectrum
};

class ARFFT final : public RFFT
{
public:
    explicit ARFFT(int n);

    // [audio thread] Full N-bin spectrum of N real samples into spectrum.
    void forward(const double* samples) override;
    // [audio thread] Only bins 0 … N/2 (all the convolver reads); the upper half is untouched.
    void forwardHalf(const double* samples);
    // [audio thread] As forwardHalf for N samples of which only the first N/2 are given and
    // the rest are zero, as the convolver's zero-padded blocks are: the packing and the first
    // butterfly stage, whose butterflies all have b = 0, become one pass over N/2 samples.
    void forwardHalfPadded(const double* samples);

private:
    // The split step from packed (bit-reversed complex output) into spectrum, bins 0 … N/2.
    void split();

    // The samples packed in pairs, (x[2n], x[2n+1]): the complex transform's work buffer, so
    // that the split step can read it through the bit reversal instead of permuting it first.
    AlignedArray<Complex> m_Packed;
};

class BRFFT final : public RFFT
{
public:
    explicit BRFFT(int n);

    // [audio thread] Reads bins 0 … N/2 (0 and N/2 real), leaves them unchanged and leaves
    // N·x[n] as (N·x[n], 0) in timeData.
    void inverse(Complex* bins) override;
    // [audio thread] As inverse, without unpacking: returns the N/2 complex values z whose
    // doubles, read in memory order and multiplied by 2, are N·x[0 … N−1]. The split step
    // writes straight into timeData, the complex transform's work buffer.
    const double* inverseHalf(Complex* bins);
    // [audio thread] As inverseHalf, but the complex values are left in bit-reversed order:
    // z[n] is the returned array's complex value rev[n] (bitReversedIndex). A caller that
    // reads each value once anyway saves the permutation pass.
    const Complex* inverseHalfBitReversed(Complex* bins);
};
