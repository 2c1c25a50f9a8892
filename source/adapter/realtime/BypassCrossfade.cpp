#include "adapter/realtime/BypassCrossfade.h"

#include <cmath>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

void CBypassCrossfade::reset(int32_t sampleRate, bool bypassed)
{
    const double frames = std::round(kFadeMs * 0.001 * std::max<int32_t>(sampleRate, 1));
    m_nLength = static_cast<int32_t>(std::clamp(frames, 1.0, 1.0e6));
    m_fStep = 1.0f / static_cast<float>(m_nLength);
    m_bTarget = bypassed;
    m_nPosition = bypassed ? 0 : m_nLength;
    m_bRoomEmpty = true;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
