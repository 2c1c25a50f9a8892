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
