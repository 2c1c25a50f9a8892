// One stage of the two-stage room convolver: a uniformly partitioned overlap-add convolver
// over the response region [stageStart, stageStart + P·c), with a frequency-domain delay line.
// The stage delays its region by 2c − 1 samples, which leaves one whole block of slack: the
// product spectrum that becomes the output at the end of block t + 1 needs only the spectra of
// block t. So the work of a block end is cut into steps spread over the next block — transform
// the response partition, transform the input block, then the multiply-accumulate over the P
// partitions in slices of contiguous bins — and only the inverse transform and the overlap-add
// are left to the sample that completes a block. No single sample pays for a whole block end.
//
// The multiply-accumulate reads far more memory than it computes on, so blocks go in pairs:
// one pass over the rings gives a block's whole sum and all of the next block's sum but two
// terms — its newest input block, and the partition renewed meanwhile (its old term is taken
// back out and its new one added). The second block of a pair thus reads two partitions, not P.
//
// The response is never stored: each block builds one partition of it from the three
// component tables, their volumes and decay envelopes, and the next block transforms it
// alongside the input. The block reaches the partition's samples 16 at a time; they are shaped
// lazily: a change shapes the samples reached so far with the settings still in force, and
// the block's end shapes the rest with the settings then, so the partition is what gathering
// 16 samples at a time would give. Partition spectra are thus renewed round-robin, and any
// change of position, volume or absorption is complete in the output after P + 2 blocks
// (P + 3 when it falls inside a block, P + 4 in its last 15 samples, which the block has
// all reached). A change between a block's end and the step that
// transforms its partition (a host block's first frame) leaves that partition as it was built. The two ears
// of a room shape the same partitions with the same settings but for the sign of left-right: stages paired by
// shareShaping work out the envelopes once and shape both ears' partitions together. Once every partition has
// been renewed since the last change, renewing one again would store exactly the spectrum its slot holds: the
// stage then stops shaping and transforming the response (and the pairs stop swapping the renewed term) until
// the next change, which costs a third of the transforms and all of the response building while the controls
// rest. No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/CComponentIR.h"
#include "engine/CDecayEnvelope.h"
#include "engine/CPartitionSpectra.h"
#include "engine/CSingleTransforms.h"
#include "engine/IResponseTables.h"
#include "engine/RFFT.h"

#include <cmath>
#include <complex>
#include <memory>

class CPartitionedConvolver
{
public:
    using Complex = std::complex<double>;

    // [main thread] Binds the components of position from tables (see loadPosition), which
    // must outlive the stage. Envelopes start at zero, so the stage is silent until its decays
    // are set. Throws std::invalid_argument unless partitionSize (>= 2) is a power of two,
    // stageLength a multiple of it (any number of partitions P >= 1) and the region lies inside
    // the response; std::bad_alloc when memory runs out.
    // The spectra are kept, and the transforms run, at the given precision (see
    // SpectrumPrecision): single precision through FFTW's float plans, double through our own.
    CPartitionedConvolver(const IResponseTables& tables, int position, int sampleRate, int ear,
                          int responseLength, int stageLength, int partitionSize, int stageStart,
                          SpectrumPrecision precision = kDefaultSpectrumPrecision);
    ~CPartitionedConvolver();
    CPartitionedConvolver(const CPartitionedConvolver&) = delete;
    CPartitionedConvolver& operator=(const CPartitionedConvolver&) = delete;

    // [audio thread] Consumes one sample; a non-finite sample counts as silence. Inline: most
    // samples only store the input, and everything else happens at the samples advance takes.
    void processSample(double x) { processFiniteSample(std::isfinite(x) ? x : 0.0); }
    // [audio thread] processSample for a sample the caller has already found finite.
    void processFiniteSample(double x)
    {
        const int j = m_nIndex;
        gatheringInput()[j] = x;
        m_bBlockHasSignal |= x != 0.0;
        if (j < m_nNextEventAt)
            m_nIndex = j + 1;
        else
            advance(j);
    }
    // [audio thread] The stage's output for the sample just consumed.
    double output() const { return m_OutputBlock[m_nIndex]; }
    // [audio thread] n samples the caller has already found finite, in one pass: y[k] is the
    // output for x[k], exactly as n processFiniteSample and output() calls give them (y may be x).
    // The samples between two block events are copied into the block at once
    // (CPartitionedConvolverRun.cpp).
    void processFiniteRun(const double* x, double* y, int n);

    // [audio thread] Returns blocks, rings, spectra, counters and load position to their state
    // at construction; response settings and components are kept. A run after it is
    // bit-identical to a run of a freshly built stage with the same settings.
    void resetSignal();
    // [audio thread, while the stage is not fed] Forgets the input it has taken, zeroing at
    // most `budget` bytes per call (budget is reduced by what was done); true once done. The
    // response, its spectra and where the stage stands in its block are kept, so processing
    // goes on exactly as if only zeros had come in since. Calls continue where the last one
    // stopped; no sample may be processed between the first call and the one that answers true.
    bool forgetSignal(long& budget);

    // [audio thread] True when every input sample the stage still remembers is exactly zero:
    // the last P + 2 completed blocks and the block being gathered (also right after
    // construction or resetSignal). Rings, sums and output
    // block are then exactly zero too, and stay so while the input does.
    bool signalIsZero() const { return !m_bBlockHasSignal && m_nQuietBlocks >= m_nPartitions + 2; }

    // [audio thread] True when skipSilence may stand in for zero samples: the signal is zero
    // and every partition spectrum was gathered since the response last changed, so gathering
    // one again would store exactly what the slot holds.
    bool canSkip() const { return signalIsZero() && responseSettled(); }
    // [audio thread] True when every partition spectrum was gathered since the response last
    // changed: the stage then neither gathers nor transforms the response.
    bool responseSettled() const { return m_nSettledBlocks >= m_nPartitions + 2; }
    // [audio thread] Stands in for `count` zero samples while canSkip(): only the counters move
    // (the input ring's place is moot while it holds only zeros).
    void skipSilence(long count);

    // Where the stage stands in its block: the index of the next input sample (0 … c − 1) and
    // the number of block-end steps of the previous block already run.
    int blockPhase() const { return m_nIndex; }
    int stepsDone() const { return m_nNextStep; }
    int stepCount() const { return m_nSteps; }
    // Whether this block's steps complete a pair begun in the previous block (see above).
    bool finishesPair() const { return m_bFinishing; }

    // Room shaping (RoomShaping.cpp). Any thread, but never concurrently with processSample.
    void setAllDecays(double absFB, double absLR, double absCF, int sampleRate, int curveType);
    void setDecayFB(double absorption, int sampleRate, int curveType);
    void setDecayLR(double absorption, int sampleRate, int curveType);
    void setDecayCF(double absorption, int sampleRate, int curveType);
    void setVolumes(double volFB, double volLR, double volCF);
    void combine();

    // Component selection (PositionLoading.cpp), same threading as room shaping.
    void loadPosition(int position, int sampleRate);
    void reloadPosition(int position, int sampleRate);

    // [main thread, not processing] Transforms with other instead of keeping transforms of its
    // own: a transform's work buffer holds nothing from one block-end step to the next, so
    // stages that one thread runs in turn (the two ears of a room) can take turns with one
    // set, and their steps at the same sample find it in cache. False, and nothing shared,
    // when the partition sizes differ.
    bool shareTransforms(CPartitionedConvolver& other);

    // [main thread, not processing] Pairs this stage with the other ear's stage of the same
    // region and partition size: whichever of the two shapes a partition first shapes it for
    // both, as long as their settings agree (each then gives bit for bit what it gives alone).
    // False, and nothing paired, when the geometries differ. The pairing ends when either is
    // destroyed.
    bool shareShaping(CPartitionedConvolver& other);

    // Bytes of the spectrum rings one block's multiply-accumulate streams through.
    long spectrumBytes() const { return m_pSpectra->ringBytes(); }

    // [main thread] The shaped response over [start, start + count) of the region, built
    // exactly as the stage builds the partitions it gathers (for checks and tools).
    void shapedResponse(int start, int count, double* out);

    enum class Component
    {
        kFB,
        kLR,
        kCF
    };
    // Direct access for binding other tables; call combine() after rebinding.
    CComponentIR& component(Component which);

private:
    // Response samples are shaped in pieces of at most this many (envelopes on the stack).
    static constexpr int kMaxPiece = 256;
    // A block reaches its response samples this many at a time: a change inside a block
    // leaves the samples up to the end of the chunk it falls in with the earlier settings.
    static constexpr int kChunk = 16;
    // Bins per multiply-accumulate step: a step then costs about as much as a transform.
    static constexpr int kSliceBins = 256;

    // The work due at block index j: block-end steps, the block end.
    void advance(int j);
    // The block index from which advance must run again.
    int nextEvent();
    void runStep(int step);
    void finishSlice(int first, int count);
    void endBlock();
    void inverseDouble();
    void inverseSingle();
    // What every change of the response does: nothing shaped so far stands for it.
    void responseChanged();
    // Before a setting changes: shapes the samples of the partition being gathered that the
    // block has already reached, with the settings still in force.
    void shapeUpToChange();
    // At the block's end: the rest of partition p after what shapeUpToChange shaped.
    void finishShaping(int p);
    // Samples [from, to) of partition p into m_Shaped, and into twin's unless twin is null.
    void shapeRange(int p, int from, int to, CPartitionedConvolver* twin);
    // Shapes partition p into m_Shaped unless it holds it already (and the twin's, if its
    // settings agree); returns m_Shaped.
    const double* shapedPartition(int p);
    // Whether twin's response is shaped exactly as this stage's but for the ear.
    bool shapesLike(const CPartitionedConvolver& twin) const;
    // Response samples partitionStart + offset … + count − 1 (count <= kMaxPiece, inside one
    // partition) for this ear into out, and for the other ear into other unless null.
    void shapePiece(int partitionStart, int offset, int count, double* out, double* other);
    // A component's table if it covers the region, else null (the stage reads silence).
    const double* usableTable(const CComponentIR& component) const
    {
        return component.m_pData != nullptr && component.m_nLength >= m_nStageEnd ? component.m_pData
                                                                                  : nullptr;
    }
    // Whether the published tables are those the components give now.
    bool publishedTablesCurrent() const;
    double* gatheringInput() const { return m_InputBlocks.get() + m_nGather * m_nPartitionSize; }

    int m_nPartitions;    // P
    int m_nPartitionSize; // c
    int m_nFFTSize;       // 2c
    int m_nIndex;         // next input position in the block
    int m_nLoadPos;       // response index of the partition being gathered
    int m_nStageStart;
    int m_nStageEnd;
    int m_nEar;              // 0: left ear (adds LR), else right ear (subtracts LR)
    int m_nPiece;            // response samples shaped per piece, min(c, kMaxPiece)
    int m_nSlices;           // multiply-accumulate steps per block
    int m_nSteps;            // block-end steps: two transforms, then the slices
    int m_nNextStep;         // next step to run in this block; m_nSteps: none pending
    int m_nNextStepAt;       // block index at which it runs
    int m_nNextEventAt;      // block index of the next sample advance must see; 0: the next one
    int m_nGather;           // which half of the input blocks is being gathered (0, 1)
    int m_nPendingPartition; // partition of the previous block, renewed in this one
    bool m_bFinishing;       // this block completes the sum its predecessor began
    bool m_bBlockHasSignal;  // a non-zero sample entered the block being gathered
    int m_nQuietBlocks;      // completed blocks in a row with only zero samples (saturating)
    int m_nSettledBlocks;    // completed blocks since the response last changed (saturating)
    int m_nShapedPartition;  // the partition m_Shaped holds for the settings now; −1: none
    bool m_bPendingShaped;   // m_Shaped holds the pending partition as the block's end shaped it
    int m_nShapedUpTo;       // samples of the gathered partition shaped so far in this block
    bool m_bRestShaped;      // the twin shaped the rest of it too (settings unchanged since)
    bool m_bDeferred;        // settled at the block's start and changed since at m_nDeferredAt:
    int m_nDeferredAt;       //   the samples so far take the settings of the samples after it
    int m_nChunk;            // grain in which the block reaches response samples, min(c, 16)
    bool m_bRenewing;        // this block's step 0 stored a renewed partition spectrum
    long m_lForgotten = 0;   // bytes forgetSignal has zeroed so far (0: not begun)

    AlignedArray<double> m_Shaped;           // c: the shaped partition to be transformed
    AlignedArray<double> m_InputBlocks;      // 2 × c: block being gathered, previous one
    AlignedArray<double> m_OutputBlock;      // 2c: result of the last block end
    AlignedArray<Complex> m_OutputSpectrum;  // bins 0 … c of the product spectrum being summed
    AlignedArray<Complex> m_PartialSpectrum; // the next block's sum as far as known (pairs)
    AlignedArray<Complex> m_Correction;      // old term of the renewed partition in that sum
    AlignedArray<Complex> m_Terms;           // a finishing slice's new terms

    double m_dVolFB = 1.0;
    double m_dVolLR = 1.0;
    double m_dVolCF = 1.0;
    CDecayEnvelope m_EnvFB;
    CDecayEnvelope m_EnvLR;
    CDecayEnvelope m_EnvCF;

    // Double precision: response partitions and input blocks in turn, and the block end's
    // inverse; single precision: both directions in one object. Only the stage's precision
    // has its transforms (the other pointers stay null), perhaps shared with another stage.
    std::shared_ptr<ARFFT> m_pForwardFFT;
    std::shared_ptr<BRFFT> m_pInverseFFT;
    std::shared_ptr<CSingleTransforms> m_pSingleFFT;
    std::unique_ptr<CPartitionSpectra> m_pSpectra;
    std::unique_ptr<CComponentIR> m_pCompFB;
    std::unique_ptr<CComponentIR> m_pCompLR;
    std::unique_ptr<CComponentIR> m_pCompCF;

    // Published by combine(): the tables read for each component (zeros when unusable).
    const double* m_pTableFB;
    const double* m_pTableLR;
    const double* m_pTableCF;
    AlignedArray<double> m_Silence;           // stand-in table for unbound components (kMaxPiece)
    CPartitionedConvolver* m_pTwin = nullptr; // the other ear's stage (shareShaping)
    const SimdKernels& m_Kernels;             // response building
    const IResponseTables& m_Tables;          // where positions find their component tables
};
