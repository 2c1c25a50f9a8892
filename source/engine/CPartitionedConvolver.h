// One stage of the two-stage room convolver: a uniformly partitioned overlap-add convolver
// over the response region [stageStart, stageStart + P·c), with a frequency-domain delay line.
// Each input sample costs one frequency bin's multiply-accumulate over the P partitions; the
// sample that completes a block also runs two forward and one inverse real FFT of size 2c.
// The stage delays its region by 2c − 1 samples.
//
// The response is never stored: each block gathers one partition of it, built from the three
// component tables, their volumes and decay envelopes as they stand at that moment, and
// transforms it alongside the input. Partition spectra are thus renewed round-robin, and any
// change of position, volume or absorption is complete in the output after P + 2 blocks,
// while the change itself costs next to nothing.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/CComponentIR.h"
#include "engine/CDecayEnvelope.h"
#include "engine/CPartitionSpectra.h"
#include "engine/IResponseTables.h"
#include "engine/RFFT.h"

#include <complex>
#include <memory>

class CPartitionedConvolver
{
public:
    using Complex = std::complex<double>;

    // [main thread] Binds the components of position from tables (see loadPosition), which
    // must outlive the stage. Envelopes start at zero, so the stage is silent until its decays
    // are set. Throws std::invalid_argument unless partitionSize (>= 2) and stageLength /
    // partitionSize are powers of two and the region lies inside the response; std::bad_alloc
    // when memory runs out.
    CPartitionedConvolver(const IResponseTables& tables, int position, int sampleRate, int ear,
                          int responseLength, int stageLength, int partitionSize, int stageStart);
    ~CPartitionedConvolver();
    CPartitionedConvolver(const CPartitionedConvolver&) = delete;
    CPartitionedConvolver& operator=(const CPartitionedConvolver&) = delete;

    // [audio thread] Consumes one input sample; a non-finite sample counts as silence.
    void processSample(double x);
    // [audio thread] The stage's output for the sample just consumed.
    double output() const { return m_OutputBlock[m_nIndex]; }

    // [audio thread] Returns blocks, rings, spectra, index and load position to their state at
    // construction; response settings and components are kept. A run after it is bit-identical
    // to a run of a freshly built stage with the same settings.
    void resetSignal();

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

    // [main thread] The shaped response over [start, start + count) of the region, built
    // exactly as the stage builds the partitions it gathers (for checks and tools).
    void shapedResponse(int start, int count, double* out);

    enum class Component { kFB, kLR, kCF };
    // Direct access for binding other tables; call combine() after rebinding.
    CComponentIR& component(Component which);

private:
    // Response samples are built, and spectrum bins summed, in chunks of at most this many,
    // spread over the block.
    static constexpr int kMaxChunk = 16;

    void endBlock();
    void sumChunk(int j);
    void shapeChunk(int partitionStart, int offset, int count, double* out);

    int m_nPartitions;       // P
    int m_nPartitionSize;    // c
    int m_nFFTSize;          // 2c
    int m_nIndex;            // next input position in the block
    int m_nLoadPos;          // response index of the partition being gathered
    int m_nStageStart;
    int m_nStageEnd;
    int m_nEar;              // 0: left ear (adds LR), else right ear (subtracts LR)
    int m_nChunk;            // response samples built per chunk, min(c, kMaxChunk)

    AlignedArray<double> m_ResponseBlock;    // 2c: partition being gathered, second half zero
    AlignedArray<double> m_OutputBlock;      // 2c: result of the last block end
    AlignedArray<double> m_InputBlock;       // 2c: input being gathered, second half zero
    AlignedArray<Complex> m_OutputSpectrum;  // bins 0 … c of the current product spectrum

    double m_dVolFB = 1.0;
    double m_dVolLR = 1.0;
    double m_dVolCF = 1.0;
    CDecayEnvelope m_EnvFB;
    CDecayEnvelope m_EnvLR;
    CDecayEnvelope m_EnvCF;

    std::unique_ptr<ARFFT> m_pResponseFFT;
    std::unique_ptr<ARFFT> m_pInputFFT;
    std::unique_ptr<BRFFT> m_pInverseFFT;
    std::unique_ptr<CPartitionSpectra> m_pSpectra;
    std::unique_ptr<CComponentIR> m_pCompFB;
    std::unique_ptr<CComponentIR> m_pCompLR;
    std::unique_ptr<CComponentIR> m_pCompCF;

    // Published by combine(): the tables read for each component (zeros when unusable).
    const double* m_pTableFB;
    const double* m_pTableLR;
    const double* m_pTableCF;
    AlignedArray<double> m_Silence;          // stand-in table for unbound components
    const SimdKernels& m_Kernels;            // response building
    const IResponseTables& m_Tables;         // where positions find their component tables
};
