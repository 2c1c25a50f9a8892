// Construction and the per-sample path of a convolver stage.
#include "engine/CPartitionedConvolver.h"
#include "engine/PowerOfTwo.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Validates the geometry before anything is allocated; returns P.
int checkedPartitions(int responseLength, int stageLength, int partitionSize, int stageStart)
{
    if (partitionSize < 2 || !isPowerOfTwo(partitionSize) || stageLength < partitionSize)
        throw std::invalid_argument("CPartitionedConvolver: partition size");
    const int partitions = stageLength / partitionSize;
    if (!isPowerOfTwo(partitions) || stageStart < 0 ||
        static_cast<long>(stageStart) + static_cast<long>(partitions) * partitionSize > responseLength)
        throw std::invalid_argument("CPartitionedConvolver: stage region");
    return partitions;
}

} // namespace

CPartitionedConvolver::CPartitionedConvolver(const IResponseTables& tables, int position, int sampleRate,
                                             int ear, int responseLength, int stageLength, int partitionSize,
                                             int stageStart)
    : m_nPartitions(checkedPartitions(responseLength, stageLength, partitionSize, stageStart))
    , m_nPartitionSize(partitionSize)
    , m_nFFTSize(2 * partitionSize)
    , m_nIndex(0)
    , m_nLoadPos(stageStart)
    , m_nStageStart(stageStart)
    , m_nStageEnd(stageStart + m_nPartitions * partitionSize)
    , m_nEar(ear)
    , m_nChunk(std::min(partitionSize, kMaxChunk))
    , m_ResponseBlock(2 * partitionSize)
    , m_OutputBlock(2 * partitionSize)
    , m_InputBlock(2 * partitionSize)
    , m_OutputSpectrum(partitionSize + 1)
    , m_EnvFB(partitionSize)
    , m_EnvLR(partitionSize)
    , m_EnvCF(partitionSize)
    , m_pResponseFFT(new ARFFT(2 * partitionSize))
    , m_pInputFFT(new ARFFT(2 * partitionSize))
    , m_pInverseFFT(new BRFFT(2 * partitionSize))
    , m_pSpectra(new CPartitionSpectra(m_nPartitions * partitionSize, partitionSize))
    , m_pCompFB(new CComponentIR{responseLength, nullptr})
    , m_pCompLR(new CComponentIR{responseLength, nullptr})
    , m_pCompCF(new CComponentIR{responseLength, nullptr})
    , m_pTableFB(nullptr)
    , m_pTableLR(nullptr)
    , m_pTableCF(nullptr)
    , m_Silence(kMaxChunk)
    , m_Kernels(selectKernels())
    , m_Tables(tables)
{
    // Blocks, spectra and rings start zeroed and the envelopes at zero: nothing to clear.
    loadPosition(position, sampleRate);
}

CPartitionedConvolver::~CPartitionedConvolver() = default;

void CPartitionedConvolver::resetSignal()
{
    m_ResponseBlock.zero();
    m_OutputBlock.zero();
    m_InputBlock.zero();
    m_OutputSpectrum.zero();
    // The previous block end's spectra are read during the next block: back to zero too.
    std::fill(m_pResponseFFT->spectrum, m_pResponseFFT->spectrum + m_nFFTSize, Complex());
    std::fill(m_pInputFFT->spectrum, m_pInputFFT->spectrum + m_nFFTSize, Complex());
    std::fill(m_pInverseFFT->timeData, m_pInverseFFT->timeData + m_nFFTSize, Complex());
    m_pSpectra->clear();
    m_nIndex = 0;
    m_nLoadPos = m_nStageStart;
}

void CPartitionedConvolver::processSample(double x)
{
    const int j = m_nIndex;
    m_InputBlock[j] = std::isfinite(x) ? x : 0.0;

    // Build this block's response partition and sum this chunk's bins a chunk at a time. The
    // bins come from the spectra transformed at the last block end and are only needed as a
    // whole at this block's end, so summing them ahead of their sample changes nothing.
    if ((j & (m_nChunk - 1)) == 0) {
        shapeChunk(m_nLoadPos, j, m_nChunk, m_ResponseBlock.get() + j);
        sumChunk(j);
    }

    m_nIndex = j + 1;
    if (m_nIndex >= m_nPartitionSize)
        endBlock();
}

void CPartitionedConvolver::sumChunk(int j)
{
    const int c = m_nPartitionSize;
    Complex* inputBins = m_pInputFFT->spectrum;
    Complex* responseBins = m_pResponseFFT->spectrum;
    Complex* sums = m_OutputSpectrum.get();
    if (j == 0) {
        // The real Nyquist value rides in the imaginary part of the real DC value. The
        // spectra are rewritten at the next block end, so they are packed where they lie.
        inputBins[0] = Complex(inputBins[0].real(), inputBins[c].real());
        responseBins[0] = Complex(responseBins[0].real(), responseBins[c].real());
    }
    m_pSpectra->accumulateBins(j + m_nLoadPos - m_nStageStart, m_nChunk, inputBins + j, responseBins + j,
                               sums + j);
    if (j == 0) {
        sums[c] = Complex(sums[0].imag(), 0.0);
        sums[0] = Complex(sums[0].real(), 0.0);
    }
}

// Transforms the gathered partition and input block for the next block's sums, and turns
// this block's product spectrum into output samples, overlap-added with the previous tail.
// Every entry of the input block and of bins 0 … c of the output spectrum is rewritten
// during the next block, so neither needs clearing here.
void CPartitionedConvolver::endBlock()
{
    const int c = m_nPartitionSize;
    // Both blocks are zero in their second half.
    m_pResponseFFT->forwardHalfPadded(m_ResponseBlock.get());
    m_pInputFFT->forwardHalfPadded(m_InputBlock.get());

    // Time sample i of the inverse is 2·z[i] / 2c, exact in both forms since 2c is a power of two.
    const double* z = m_pInverseFFT->inverseHalf(m_OutputSpectrum.get());
    const double scale = 2.0 / m_nFFTSize;
    double* out = m_OutputBlock.get();
    for (int i = 0; i < c; ++i)
        out[i] = z[i] * scale + out[c + i];
    for (int i = c; i < 2 * c; ++i)
        out[i] = z[i] * scale;

    m_nIndex = 0;
    m_nLoadPos += c;
    if (m_nLoadPos >= m_nStageEnd)
        m_nLoadPos = m_nStageStart;
}
