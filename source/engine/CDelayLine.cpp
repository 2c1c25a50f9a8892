#include "engine/CDelayLine.h"

#include <algorithm>
#include <cmath>

namespace {

int bufferSizeFor(int sampleRate) { return std::max(2, 2 * std::max(sampleRate, 0)); }

int bufferSizeFor(CDelayLine::Capacity capacity) { return std::max(2, capacity.samples); }

double fraction(double percent) { return std::isfinite(percent) ? percent / 100.0 : 0.0; }

} // namespace

CDelayLine::CDelayLine(int sampleRate, int delaySamples, double feedbackPercent, double wetPercent)
    : m_Buffer(static_cast<std::size_t>(bufferSizeFor(sampleRate)))
    , m_nBufferSize(bufferSizeFor(sampleRate))
{
    reset(delaySamples, feedbackPercent, wetPercent);
}

CDelayLine::CDelayLine(Capacity capacity, int delaySamples, double feedbackPercent, double wetPercent)
    : m_Buffer(static_cast<std::size_t>(bufferSizeFor(capacity)))
    , m_nBufferSize(bufferSizeFor(capacity))
{
    reset(delaySamples, feedbackPercent, wetPercent);
}

void CDelayLine::reset(int delaySamples, double feedbackPercent, double wetPercent)
{
    m_nDelaySamples = std::clamp(delaySamples, 0, m_nBufferSize - 1);
    m_dFeedback = fraction(feedbackPercent);
    m_dWet = fraction(wetPercent);
    m_nWriteIndex = 0;
    m_nReadIndex = -m_nDelaySamples;
    if (m_nReadIndex < 0)
        m_nReadIndex += m_nBufferSize;
    m_Buffer.zero();
    m_dOutput = 0.0;
    m_nZeroWrites = m_nDelaySamples;
}

namespace {

// One stretch of a run, y holding the samples the stretch reads from the line: each written and
// output sample computed as processSample computes it.
void delayStretch(double* __restrict write, const double* __restrict x, double* __restrict y, int m,
                  double feedback, double wet)
{
    for (int i = 0; i < m; ++i)
    {
        const double held = y[i];
        write[i] = feedback * held + x[i];
        y[i] = (1.0 - wet) * x[i] + wet * held;
    }
}

} // namespace

// A run goes in stretches up to the next wrap of either index and no longer than the delay, so
// that nothing written in a stretch is read in it; the zero-write count is settled per stretch.
void CDelayLine::processRun(const double* x, double* y, int n)
{
    if (m_nDelaySamples == 0)
    {
        for (int k = 0; k < n; ++k)
        {
            processSample(x[k]);
            y[k] = m_dOutput;
        }
        return;
    }
    double* const buffer = m_Buffer.get();
    int k = 0;
    while (k < n)
    {
        const int m =
            std::min({n - k, m_nBufferSize - m_nReadIndex, m_nBufferSize - m_nWriteIndex, m_nDelaySamples});
        double* const write = buffer + m_nWriteIndex;
        // Every sample the stretch reads is read before any is written.
        std::copy_n(buffer + m_nReadIndex, m, y + k);
        delayStretch(write, x + k, y + k, m, m_dFeedback, m_dWet);
        int written = m; // the samples up to the last one not zero
        while (written > 0 && write[written - 1] == 0.0)
            --written;
        m_nZeroWrites = std::min(written == 0 ? m_nZeroWrites + m : m - written, m_nDelaySamples);
        m_nReadIndex += m;
        if (m_nReadIndex == m_nBufferSize)
            m_nReadIndex = 0;
        m_nWriteIndex += m;
        if (m_nWriteIndex == m_nBufferSize)
            m_nWriteIndex = 0;
        k += m;
    }
    if (n > 0)
        m_dOutput = y[n - 1];
}
