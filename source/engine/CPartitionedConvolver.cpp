// Construction and the per-sample path of a convolver stage.
#include "engine/CPartitionedConvolver.h"
#include "engine/PowerOfTwo.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

// Validates the geometry before anything is allocated; returns P.
int checkedPartitions(int responseLength, int stageLength, int partitionSize, int stageStart)
{
    if (partitionSize < 2 || !isPowerOfTwo(partitionSize) || stageLength < partitionSize)
        throw std::invalid_argument("CPartitionedConvolver: partition size");
    const int partitions = stageLength / partitionSize;
    if (stageLength % partitionSize != 0 || stageStart < 0
        || static_cast<long>(stageStart) + static_cast<long>(partitions) * partitionSize > responseLength)
        throw std::invalid_argument("CPartitionedConvolver: stage region");
    return partitions;
}

} // namespace

CPartitionedConvolver::CPartitionedConvolver(const IResponseTables& tables, int position, int sampleRate,
                                             int ear, int responseLength, int stageLength, int partitionSize,
                                             int stageStart, SpectrumPrecision precision)
    : m_nPartitions(checkedPartitions(responseLength, stageLength, partitionSize, stageStart))
    , m_nPartitionSize(partitionSize)
    , m_nFFTSize(2 * partitionSize)
    , m_nIndex(0)
    , m_nLoadPos(stageStart)
    , m_nStageStart(stageStart)
    , m_nStageEnd(stageStart + m_nPartitions * partitionSize)
    , m_nEar(ear)
    , m_nPiece(std::min(partitionSize, kMaxPiece))
    , m_nSlices(std::max(1, partitionSize / kSliceBins))
    , m_nSteps(2 + m_nSlices)
    , m_nNextStep(m_nSteps)
    , m_nNextStepAt(partitionSize)
    , m_nNextEventAt(0)
    , m_nGather(0)
    , m_nPendingPartition(0)
    , m_bFinishing(true)
    , m_bBlockHasSignal(false)
    , m_nQuietBlocks(m_nPartitions + 2)
    , m_nSettledBlocks(0)
    , m_nShapedPartition(-1)
    , m_bPendingShaped(false)
    , m_nShapedUpTo(0)
    , m_bRestShaped(false)
    , m_bDeferred(false)
    , m_nDeferredAt(0)
    , m_nChunk(std::min(partitionSize, kChunk))
    , m_bRenewing(false)
    , m_Shaped(static_cast<std::size_t>(partitionSize))
    , m_InputBlocks(2 * static_cast<std::size_t>(partitionSize))
    , m_OutputBlock(2 * static_cast<std::size_t>(partitionSize))
    , m_OutputSpectrum(static_cast<std::size_t>(partitionSize) + 1)
    , m_PartialSpectrum(static_cast<std::size_t>(partitionSize) + 1)
    , m_Correction(static_cast<std::size_t>(partitionSize) + 1)
    , m_Terms(static_cast<std::size_t>(partitionSize) + 1)
    , m_pForwardFFT(precision == SpectrumPrecision::kDouble ? new ARFFT(2 * partitionSize) : nullptr)
    , m_pInverseFFT(precision == SpectrumPrecision::kDouble ? new BRFFT(2 * partitionSize) : nullptr)
    , m_pSingleFFT(precision == SpectrumPrecision::kSingle
                       ? std::make_shared<CSingleTransforms>(2 * partitionSize)
                       : nullptr)
    , m_pSpectra(new CPartitionSpectra(m_nPartitions * partitionSize, partitionSize, precision))
    , m_pCompFB(new CComponentIR{responseLength, nullptr})
    , m_pCompLR(new CComponentIR{responseLength, nullptr})
    , m_pCompCF(new CComponentIR{responseLength, nullptr})
    , m_pTableFB(nullptr)
    , m_pTableLR(nullptr)
    , m_pTableCF(nullptr)
    , m_Silence(kMaxPiece)
    , m_Kernels(selectKernels())
    , m_Tables(tables)
{
    // Blocks, spectra and rings start zeroed and the envelopes at zero: nothing to clear.
    loadPosition(position, sampleRate);
}

CPartitionedConvolver::~CPartitionedConvolver()
{
    if (m_pTwin != nullptr)
        m_pTwin->m_pTwin = nullptr;
}

bool CPartitionedConvolver::shareTransforms(CPartitionedConvolver& other)
{
    if (other.m_nPartitionSize != m_nPartitionSize
        || other.m_pSpectra->precision() != m_pSpectra->precision())
        return false;
    m_pForwardFFT = other.m_pForwardFFT;
    m_pInverseFFT = other.m_pInverseFFT;
    m_pSingleFFT = other.m_pSingleFFT;
    return true;
}

void CPartitionedConvolver::resetSignal()
{
    m_InputBlocks.zero();
    m_OutputBlock.zero();
    m_OutputSpectrum.zero();
    m_PartialSpectrum.zero();
    m_Correction.zero();
    m_Terms.zero();
    m_pSpectra->clear();
    m_nIndex = 0;
    m_nLoadPos = m_nStageStart;
    m_nNextStep = m_nSteps;
    m_nNextStepAt = m_nPartitionSize;
    m_nNextEventAt = 0;
    m_nGather = 0;
    m_nPendingPartition = 0;
    m_bFinishing = true;
    m_bBlockHasSignal = false;
    m_nQuietBlocks = m_nPartitions + 2; // all zero, as after construction
    m_nSettledBlocks = 0;               // the response spectra were cleared
    m_bPendingShaped = false;
    m_nShapedUpTo = 0;
    m_bRestShaped = false;
    m_bDeferred = false;
    m_bRenewing = false;
    m_lForgotten = 0;
}

bool CPartitionedConvolver::forgetSignal(long& budget)
{
    // Everything that holds input, or sums and output made from it, in a fixed order; the
    // input ring last. A piece is zeroed from where the previous call stopped.
    struct Piece
    {
        void* data;
        long bytes;
    };
    auto piece = [](const auto& array) {
        return Piece{static_cast<void*>(array.get()), static_cast<long>(array.size() * sizeof(*array.get()))};
    };
    const Piece pieces[] = {piece(m_InputBlocks),     piece(m_OutputBlock), piece(m_OutputSpectrum),
                            piece(m_PartialSpectrum), piece(m_Correction),  piece(m_Terms)};
    long start = 0;
    for (const Piece& p : pieces)
    {
        const long from = std::max(m_lForgotten - start, 0L);
        const long count = std::min(p.bytes - from, budget);
        if (count > 0)
        {
            std::memset(static_cast<unsigned char*>(p.data) + from, 0, static_cast<size_t>(count));
            m_lForgotten += count;
            budget -= count;
        }
        start += p.bytes;
        if (m_lForgotten < start)
            return false;
    }
    long ring = m_lForgotten - start;
    const bool done = m_pSpectra->forgetInput(ring, budget);
    m_lForgotten = start + ring;
    if (!done)
        return false;
    m_lForgotten = 0;
    m_bBlockHasSignal = false;
    m_nQuietBlocks = m_nPartitions + 2;
    return true;
}

void CPartitionedConvolver::advance(int j)
{
    // The previous block's end, step by step (several steps share a sample when c is small).
    while (j >= m_nNextStepAt)
        runStep(m_nNextStep);

    m_nIndex = j + 1;
    if (m_nIndex >= m_nPartitionSize)
        endBlock();
    m_nNextEventAt = nextEvent();
}

// The sample that completes the block, or the next block-end step if that comes first.
int CPartitionedConvolver::nextEvent() { return std::min(m_nPartitionSize - 1, m_nNextStepAt); }

// Step 0 transforms the response partition shaped at the previous block's end, step 1 that
// block's input, and every further step sums one slice of bins. Step s runs at block index
// s·c / steps, so the slices finish before the block's last sample.
void CPartitionedConvolver::runStep(int step)
{
    const int c = m_nPartitionSize;
    const int pending = 1 - m_nGather;
    const int renewed = m_nPendingPartition;
    if (step == 0)
    {
        // Settled: the slot already holds exactly the spectrum the transform would give.
        m_bRenewing = !responseSettled();
        if (m_bRenewing)
        {
            const double* block = m_bPendingShaped ? m_Shaped.get() : shapedPartition(renewed);
            const CSingleTransforms::Bin* single = nullptr;
            if (m_pSingleFFT)
                single = m_pSingleFFT->forwardPadded(block);
            else
                m_pForwardFFT->forwardHalfPadded(block);
            if (m_bFinishing && renewed != 0)
            {
                // The begun sum holds this partition's old spectrum against the input block
                // `renewed` blocks older than the coming one (age renewed − 1 until it is stored).
                const int age = renewed - 1;
                m_pSpectra->accumulateTerms(&age, &renewed, 1, 0, c, m_Correction.get());
            }
            if (single != nullptr)
                m_pSpectra->storeResponse(renewed, single);
            else
                m_pSpectra->storeResponse(renewed, m_pForwardFFT->spectrum);
        }
        m_bPendingShaped = false;
    }
    else if (step == 1)
    {
        const double* block = m_InputBlocks.get() + pending * c;
        if (m_pSingleFFT)
        {
            m_pSpectra->storeInput(m_pSingleFFT->forwardPadded(block));
        }
        else
        {
            m_pForwardFFT->forwardHalfPadded(block);
            m_pSpectra->storeInput(m_pForwardFFT->spectrum);
        }
    }
    else
    {
        const int bins = c / m_nSlices;
        const int first = (step - 2) * bins;
        if (!m_bFinishing)
            m_pSpectra->accumulatePair(first, bins, m_OutputSpectrum.get(), m_PartialSpectrum.get());
        else
            finishSlice(first, bins);
    }
    m_nNextStep = step + 1;
    m_nNextStepAt =
        m_nNextStep < m_nSteps ? static_cast<int>(static_cast<long>(m_nNextStep) * c / m_nSteps) : c;
}

// The second block of a pair: the begun sum, plus the newest input block against partition 0,
// plus the renewed partition's new term in place of its old one (unless nothing was renewed).
void CPartitionedConvolver::finishSlice(int first, int count)
{
    const int renewed = m_nPendingPartition;
    const int age[2] = {0, renewed};
    const int partition[2] = {0, renewed};
    const bool swapTerm = m_bRenewing && renewed != 0;
    m_pSpectra->accumulateTerms(age, partition, swapTerm ? 2 : 1, first, count, m_Terms.get());
    const Complex* partial = m_PartialSpectrum.get();
    const Complex* correction = m_Correction.get();
    const Complex* terms = m_Terms.get();
    Complex* out = m_OutputSpectrum.get();
    auto finish = [&](int b) { out[b] = (swapTerm ? partial[b] - correction[b] : partial[b]) + terms[b]; };
    for (int b = first; b < first + count; ++b)
        finish(b);
    if (first == 0)
        finish(m_nPartitionSize); // the packed Nyquist value, set with bin 0
}

// Turns the product spectrum summed during this block into output samples, overlap-added with
// the previous tail, and hands the gathered blocks to the next block's steps.
void CPartitionedConvolver::endBlock()
{
    const int c = m_nPartitionSize;
    if (m_pSingleFFT)
        inverseSingle();
    else
        inverseDouble();

    m_nQuietBlocks = m_bBlockHasSignal ? 0 : std::min(m_nQuietBlocks + 1, m_nPartitions + 2);
    m_nSettledBlocks = std::min(m_nSettledBlocks + 1, m_nPartitions + 2);
    m_bBlockHasSignal = false;
    m_nPendingPartition = (m_nLoadPos - m_nStageStart) / c;
    m_bFinishing = !m_bFinishing;
    m_nGather = 1 - m_nGather;
    m_nNextStep = 0;
    m_nNextStepAt = 0;
    m_nIndex = 0;
    m_nLoadPos += c;
    if (m_nLoadPos >= m_nStageEnd)
        m_nLoadPos = m_nStageStart;
    // The partition the next step 0 renews: what the block's changes left unshaped, with the
    // settings at this block's end.
    if (!responseSettled())
    {
        finishShaping(m_nPendingPartition);
        m_bPendingShaped = true;
    }
    m_nShapedUpTo = 0;
    m_bRestShaped = false;
    m_bDeferred = responseSettled(); // the next block gathers nothing until a change
    m_nDeferredAt = -1;
}

// The inverse of the summed spectrum into the output block, overlap-added with the previous
// tail. Time samples 2n and 2n + 1 of the inverse are 2·z[n] / 2c (real and imaginary part),
// exact in both forms since 2c is a power of two; z[n] is read through the bit reversal.
void CPartitionedConvolver::inverseDouble()
{
    const int c = m_nPartitionSize;
    const Complex* z = m_pInverseFFT->inverseHalfBitReversed(m_OutputSpectrum.get());
    const int* rev = m_pInverseFFT->bitReversedIndex();
    const double scale = 2.0 / m_nFFTSize;
    double* out = m_OutputBlock.get();
    const int half = c / 2; // complex values that make the first c samples
    for (int n = 0; n < half; ++n)
    {
        const Complex v = z[rev[n]];
        out[2 * n] = v.real() * scale + out[c + 2 * n];
        out[2 * n + 1] = v.imag() * scale + out[c + 2 * n + 1];
    }
    for (int n = half; n < c; ++n)
    {
        const Complex v = z[rev[n]];
        out[2 * n] = v.real() * scale;
        out[2 * n + 1] = v.imag() * scale;
    }
}

// As inverseDouble through the float transform, which gives 2c·y[n] in order; the scaling by
// 1/2c (exact) and the overlap-add run in double precision.
void CPartitionedConvolver::inverseSingle()
{
    const float* y = m_pSingleFFT->inverse(m_OutputSpectrum.get());
    m_Kernels.widenOverlapAdd(y, m_nPartitionSize, 1.0 / m_nFFTSize, m_OutputBlock.get());
}

// The counters after `count` zero samples, worked out rather than stepped through. Block ends
// hand on the partition just gathered and flip the pair and the gathering half; the block-end
// steps due before the new index count as run: with only zeros in the rings they add zeros,
// and the response spectrum they would store is the one its slot already holds.
void CPartitionedConvolver::skipSilence(long count)
{
    if (count <= 0)
        return;
    const long c = m_nPartitionSize;
    const long j = m_nIndex + count;
    if (j >= c)
    {
        const long blocks = j / c;
        const long length = static_cast<long>(m_nPartitions) * c;
        const long lastStart = (m_nLoadPos - m_nStageStart + (blocks - 1) * c) % length;
        m_nPendingPartition = static_cast<int>(lastStart / c);
        m_nLoadPos = m_nStageStart + static_cast<int>((lastStart + c) % length);
        if (blocks % 2 != 0)
        {
            m_bFinishing = !m_bFinishing;
            m_nGather = 1 - m_nGather;
        }
        m_nNextStep = 0;
        m_nNextStepAt = 0;
    }
    m_nIndex = static_cast<int>(j % c);
    while (m_nNextStep < m_nSteps && m_nNextStepAt < m_nIndex)
    {
        ++m_nNextStep;
        m_nNextStepAt = m_nNextStep < m_nSteps
                            ? static_cast<int>(static_cast<long>(m_nNextStep) * c / m_nSteps)
                            : m_nPartitionSize;
    }
    m_bRenewing = false; // the steps counted as run renewed nothing: the response is settled
    m_bPendingShaped = false;
    m_nShapedUpTo = 0;
    m_bRestShaped = false;
    m_bDeferred = true;
    m_nDeferredAt = -1;
    m_nNextEventAt = 0;
}
