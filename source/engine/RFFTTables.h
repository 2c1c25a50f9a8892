// The read-only tables of a real FFT of one size and direction: the split step's twiddles, the
// butterfly stages' running-product twiddles and the bit-reversal permutation. They depend
// only on the size and the direction, so every transform of that kind in the process shares
// one set: eight rooms hold the tables of their four transform sizes once, not thirty-two times.
// No allocation, locking or system calls after construction; shared() itself locks and
// allocates, and is for the main thread only.
#pragma once

#include "engine/AlignedArray.h"

#include <complex>
#include <memory>

class RFFTTables
{
public:
    using Complex = std::complex<double>;

    // [main thread] The tables for size n (a power of two, at least 4) and direction (−1
    // forward, +1 inverse), built on first use and kept while any transform holds them.
    static std::shared_ptr<const RFFTTables> shared(int n, int direction);

    RFFTTables(int n, int direction);
    RFFTTables(const RFFTTables&) = delete;
    RFFTTables& operator=(const RFFTTables&) = delete;

    // w[j] = exp(−i·2π·j/N), j = 0 … N/2
    const Complex* twiddles() const { return m_Twiddles.get(); }
    // Per stage, the running-product twiddles of the butterflies, laid out for the kernels.
    const double* stageRR() const { return m_StageRR.get(); }
    const double* stageRI() const { return m_StageRI.get(); }
    // Index pairs (i, j), i < j, that the bit-reversal permutation swaps, and their count.
    const int* swapPairs() const { return m_SwapPairs.get(); }
    int swapCount() const { return m_nSwapCount; }
    // rev[k]: where bin k of the complex transform sits before bit reversal; rev[N/2] = 0.
    const int* bitReversed() const { return m_BitReversed.get(); }

private:
    void buildTwiddles(int n);
    void buildStageTwiddles(int direction);
    void buildBitReversal();

    int m_nHalfSize;
    int m_nStageCount;
    AlignedArray<Complex> m_Twiddles;
    AlignedArray<double> m_StageRR;
    AlignedArray<double> m_StageRI;
    AlignedArray<int> m_SwapPairs;
    int m_nSwapCount;
    AlignedArray<int> m_BitReversed;
};
