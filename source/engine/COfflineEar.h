// One ear of a room convolved for rendering: the ear's input record (the last samples it took,
// in time order) and block convolvers in large partitions over the response, each doing a
// block's whole work at the block's last sample. A stage whose region starts at S may use
// partitions up to S + onset + 1 samples and still be on time, so past the first few thousand
// samples the partitions grow to the size a file convolver uses; a render then costs a fraction
// of the real-time stages, which spread each block end over the next block for a bounded cost
// per sample. The output is y(n) = Σₖ h(k)·x(n − onset − k).
//
// The engine runs on the ear's clock (samples recorded since the last reset). It may fall
// behind while another path plays the ear: catchUp() brings it back, from the record, either by
// feeding it the samples it missed or, when those are many or the response changed, by
// rebuilding its state from the last samples that reach the present. The record also lets a
// caller bring other convolvers of the same input up to date. No allocation, locking or system
// calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/CBlockConvolver.h"

#include <memory>
#include <vector>

class COfflineEar
{
public:
    // One stage: partitions of c samples, P of them, over the response from regionStart on.
    struct Stage
    {
        int partitionSize;
        int partitions;
        int regionStart;
    };

    // [main thread] The stages must cover [0, responseLength) end to end in region order (the
    // last may reach past it: the response is zero there), each partition size a power of two
    // dividing the next and each stage on time (c <= regionStart + onset + 1). Throws
    // std::invalid_argument otherwise, std::bad_alloc when memory runs out.
    COfflineEar(int onset, int responseLength, const std::vector<Stage>& stages);
    ~COfflineEar();

    // [audio thread] Record and engine back to silence at clock 0.
    void reset();
    // [audio thread] Forgets the input: record and engine hold zeros, the clock stays.
    void forget();

    // [not while processing] The response (responseLength samples, read now). The engine's
    // state no longer matches it: the next catchUp rebuilds it.
    void setResponse(const double* response);

    // [audio thread] Records x without running the engine.
    void record(double x)
    {
        m_Record[static_cast<std::size_t>(m_lClock & m_lRecordMask)] = x;
        ++m_lClock;
    }
    // [audio thread] Records x and returns the ear's output for it; the engine must be current.
    double process(double x)
    {
        const long n = m_lClock;
        record(x);
        if (((n + 1) & m_lSmallestMask) == 0)
            endBlocks(n);
        m_lEngineClock = n + 1;
        double& slot = m_Output[static_cast<std::size_t>(n & m_lOutputMask)];
        const double y = slot;
        slot = 0.0;
        return y;
    }
    // [audio thread] Brings the engine to the clock (see above).
    void catchUp();
    bool engineCurrent() const { return m_bEngineValid && m_lEngineClock == m_lClock; }

    long clock() const { return m_lClock; }
    // Samples of the record kept: samples before clock() − recordLength() are gone.
    long recordLength() const { return m_lRecordMask + 1; }
    // The sample recorded at clock n (clock() − recordLength() <= n < clock()).
    double recorded(long n) const { return m_Record[static_cast<std::size_t>(n & m_lRecordMask)]; }

private:
    struct Geometry
    {
        long largest = 0; // largest partition
        long padded = 0;  // samples the stages cover
        long reach = 0;   // samples an input sample stays in the output: onset + padded
        long record = 0;  // samples recorded: enough for a rebuild
        long output = 0;  // slots of the output ring: enough for the furthest block end
    };
    static Geometry geometryOf(int onset, int responseLength, const std::vector<Stage>& stages);
    COfflineEar(int onset, int responseLength, const std::vector<Stage>& stages, const Geometry& g);

    // The block ends due at clock n: every stage whose block ends there.
    void endBlocks(long n);
    // Runs the engine over the record from its clock to the ear's, dropping the outputs; from
    // silence (a rebuild) blocks that cannot reach the present are skipped.
    void feedEngine(bool fromSilence);

    int m_nOnset;
    int m_nResponseLength;
    std::vector<Stage> m_Stages;
    std::vector<std::unique_ptr<CBlockConvolver>> m_Convolvers;
    long m_lReach;   // samples an input sample stays in the output
    long m_lLargest; // largest partition
    long m_lSmallestMask;
    long m_lRecordMask;
    long m_lOutputMask;
    long m_lClock = 0;
    long m_lEngineClock = 0;
    bool m_bEngineValid = true;
    AlignedArray<double> m_Record;   // the ear's input, a ring indexed by clock
    AlignedArray<double> m_Output;   // the summed results, a ring indexed by clock
    AlignedArray<double> m_Response; // the padded response, while partitions are transformed
};
