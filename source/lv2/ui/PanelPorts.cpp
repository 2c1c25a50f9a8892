#include "lv2/ui/PanelPorts.h"

#include <algorithm>
#include <cmath>

namespace TessalineLv2 {

const std::vector<PanelPort>& panelPorts()
{
    static const std::vector<PanelPort> ports = {
#include "PanelPorts.inc"
    };
    return ports;
}

float portValueOfControl(const PanelPort& port, float controlValue)
{
    if (port.steps > 0)
        return port.min + std::clamp(std::round(controlValue), 0.0f, static_cast<float>(port.steps));
    return port.min + std::clamp(controlValue, 0.0f, 1.0f) * (port.max - port.min);
}

float controlValueOfPort(const PanelPort& port, float portValue)
{
    if (!std::isfinite(portValue))
        portValue = port.defaultValue;
    if (port.steps > 0)
        return std::clamp(std::round(portValue - port.min), 0.0f, static_cast<float>(port.steps));
    const float span = port.max - port.min;
    return span != 0.0f ? std::clamp((portValue - port.min) / span, 0.0f, 1.0f) : 0.0f;
}

} // namespace TessalineLv2
