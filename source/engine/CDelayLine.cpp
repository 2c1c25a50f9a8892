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

// The samples up to the next wrap of either index go in one stretch, each computed as
// processSample computes it; the zero-write count is settled once per stretch.
void CDelayLine::processRun(const double* x, double* y, int n)
{
    double* const buffer = m_Buffer.get();
    const double feedback = m_dFeedback;
    const double wet = m_dWet;
    const bool through = m_nDelaySamples == 0;
    int k = 0;
    while (k < n)
    {
        const int m = std::min({n - k, m_nBufferSize - m_nReadIndex, m_nBufferSize - m_nWriteIndex});
        const double* read = buffer + m_nReadIndex;
        double* write = buffer + m_nWriteIndex;
        int lastNonZero = -1;
        for (int i = 0; i < m; ++i)
        {
            const double in = x[k + i];
            const double held = through ? in : read[i];
            const double w = feedback * held + in;
            write[i] = w;
            if (w != 0.0)
                lastNonZero = i;
            y[k + i] = (1.0 - wet) * in + wet * held;
        }
        const int zeros = lastNonZero < 0 ? m_nZeroWrites + m : m - 1 - lastNonZero;
        m_nZeroWrites = std::min(zeros, m_nDelaySamples);
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
