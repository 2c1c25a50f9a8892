// A circular delay with feedback and wet/dry mix; the room uses it with feedback 0 % and wet
// 100 % as the pure 256-sample delay that aligns a late stage with its early stage.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"

class CDelayLine
{
public:
    // The number of samples a line holds, when given outright rather than by a sample rate.
    struct Capacity
    {
        int samples;
    };

    // [main thread] Buffer of 2·sampleRate samples (at least 2), then reset(...).
    CDelayLine(int sampleRate, int delaySamples, double feedbackPercent, double wetPercent);
    // [main thread] Buffer of capacity.samples samples (at least 2), which allows delays up to
    // one sample fewer, then reset(...). A fixed short delay needs no second's worth of memory.
    CDelayLine(Capacity capacity, int delaySamples, double feedbackPercent, double wetPercent);

    // [audio thread] New settings, buffer and indices cleared. The delay is clamped to
    // 0 … buffer size − 1; non-finite percentages count as 0.
    void reset(int delaySamples, double feedbackPercent, double wetPercent);
    // [audio thread] Consumes one sample. Inline: the room calls it twice per frame.
    void processSample(double x)
    {
        const double y = m_nDelaySamples == 0 ? x : m_Buffer[static_cast<std::size_t>(m_nReadIndex)];
        const double w = m_dFeedback * y + x;
        m_Buffer[static_cast<std::size_t>(m_nWriteIndex)] = w;
        // A sample written is read back `delay` samples later and never again before overwritten.
        m_nZeroWrites =
            w != 0.0 ? 0 : (m_nZeroWrites < m_nDelaySamples ? m_nZeroWrites + 1 : m_nDelaySamples);
        if (++m_nWriteIndex == m_nBufferSize)
            m_nWriteIndex = 0;
        if (++m_nReadIndex == m_nBufferSize)
            m_nReadIndex = 0;
        m_dOutput = (1.0 - m_dWet) * x + m_dWet * y;
    }
    double output() const { return m_dOutput; }
    // [audio thread] n samples in one pass: y[k] is the output for x[k], exactly as n
    // processSample and output() calls give them; y and x do not overlap.
    void processRun(const double* x, double* y, int n);
    // True when every sample still to be read is zero and so is the output: the line then
    // gives zeros for zero input wherever its indices stand, so zero samples may go unfed.
    bool holdsOnlyZeros() const { return m_nZeroWrites >= m_nDelaySamples && m_dOutput == 0.0; }

    int delaySamples() const { return m_nDelaySamples; }
    int bufferSize() const { return m_nBufferSize; }

private:
    AlignedArray<double> m_Buffer;
    int m_nReadIndex = 0;
    int m_nWriteIndex = 0;
    int m_nBufferSize;
    double m_dFeedback = 0.0;
    double m_dWet = 1.0;
    int m_nDelaySamples = 0;
    double m_dOutput = 0.0;
    int m_nZeroWrites = 0; // zeros written in a row (saturating at the delay)
};
