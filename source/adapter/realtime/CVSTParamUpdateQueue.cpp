#include "adapter/realtime/CVSTParamUpdateQueue.h"

#include <algorithm>
#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

CVSTParamUpdateQueue::CVSTParamUpdateQueue(const int32* interval)
    : m_pInterval(interval)
{}

void CVSTParamUpdateQueue::beginBlock(IParamValueQueue* hostQueue, int32 blockSize)
{
    m_nBlockSize = blockSize;
    m_pHostQueue = hostQueue;
    m_nPointIndex = 0;
    m_nCursor = 0;
    m_bExhausted = false;
}

int32_t CVSTParamUpdateQueue::getParameterIndex()
{
    return m_pHostQueue ? static_cast<int32_t>(m_pHostQueue->getParameterId()) : -1;
}

void CVSTParamUpdateQueue::setSlope()
{
    const float length = static_cast<float>(m_nSegEnd - m_nSegStart);
    // Points at one offset (or out of order) make a step: the segment holds its end value.
    if (!(length > 0.0f))
    {
        m_dSlope = 0.0;
        m_dIntercept = m_dSegEndValue;
        m_dSegStartValue = m_dSegEndValue;
        return;
    }
    m_dSlope = (m_dSegEndValue - m_dSegStartValue) / static_cast<double>(length);
    m_dIntercept = m_dSegStartValue - m_nSegStart * m_dSlope;
}

bool CVSTParamUpdateQueue::readPoint(int32 index, int32& offset, double& value) const
{
    ParamValue v = 0.0;
    if (!m_pHostQueue || m_pHostQueue->getPoint(index, offset, v) != kResultOk)
        return false;
    value = v;
    return true;
}

void CVSTParamUpdateQueue::advanceSegment()
{
    int32 offset = 0;
    double value = 0.0;
    if (!readPoint(m_nPointIndex, offset, value))
    {
        m_bExhausted = true; // past the host's last point: no values are invented
        return;
    }
    m_bExhausted = false;
    if (m_nPointIndex == 0 && offset == 0)
    {
        m_nSegStart = 0;
        m_dSegStartValue = value;
        m_nSegEnd = m_nBlockSize;
        m_dSegEndValue = value;
        if (m_pHostQueue->getPointCount() >= 2)
        {
            ++m_nPointIndex;
            int32 nextOffset = 0;
            double nextValue = 0.0;
            if (readPoint(m_nPointIndex, nextOffset, nextValue))
            {
                m_nSegEnd = nextOffset;
                m_dSegEndValue = nextValue;
            }
        }
    }
    else
    {
        m_nSegStart = m_bLastSegment ? 0 : m_nSegEnd;
        m_bLastSegment = false;
        m_dSegStartValue = m_dSegEndValue;
        m_nSegEnd = offset;
        m_dSegEndValue = value;
    }
    ++m_nPointIndex;
    // A repeated or earlier offset is a step: the segment runs on from the later point.
    while (m_nSegEnd <= m_nSegStart && readPoint(m_nPointIndex, offset, value))
    {
        m_nSegStart = m_nSegEnd;
        m_dSegStartValue = m_dSegEndValue;
        m_nSegEnd = offset;
        m_dSegEndValue = value;
        ++m_nPointIndex;
    }
    m_bLastSegment = m_nSegEnd == m_nBlockSize - 1;
    setSlope();
}

CVSTParamUpdateQueue::Result CVSTParamUpdateQueue::valueAt(int32 n, double& value)
{
    const int32 interval = m_pInterval ? *m_pInterval : 0;
    double candidate = n * m_dSlope + m_dIntercept;
    if (n == m_nSegStart)
        candidate = m_dSegStartValue;
    else if (n == m_nSegEnd)
        candidate = m_dSegEndValue;
    if (n == 0 || n == m_nSegEnd)
        advanceSegment();
    if (m_dSlope == 0.0 || std::isnan(candidate) || (m_bExhausted && n > m_nSegEnd))
        return kNoValue;
    const bool onGrid = interval > 0 && n % interval == 0;
    if (!onGrid && n != m_nSegStart && n != m_nSegEnd)
        return kNoValue;
    candidate = std::clamp(candidate, 0.0, 1.0); // host points outside 0 .. 1 stay inside
    if (candidate == m_dLastValue)
        return kSameValue;
    m_dLastValue = candidate;
    value = candidate;
    return kNewValue;
}

bool CVSTParamUpdateQueue::getValueAtOffset(int32_t sampleOffset, double /*unused*/, double* value)
{
    // [audio thread]
    m_nCursor = sampleOffset;
    double v = 0.0;
    if (valueAt(sampleOffset, v) != kNewValue)
        return false;
    if (value)
        *value = v;
    return true;
}

bool CVSTParamUpdateQueue::getNextValue(double* value)
{
    // [audio thread]
    const int32 n = m_nCursor++;
    double v = 0.0;
    if (valueAt(n, v) != kNewValue)
        return false;
    if (value)
        *value = v;
    return true;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
