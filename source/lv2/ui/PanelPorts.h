// The room controls as the panel binds them to the plug-in's control ports (port k is control
// k): the table is generated at build time from the DSP object's control list.
#pragma once

#include <string>
#include <vector>

namespace TessalineLv2 {

struct PanelPort
{
    const char* name;
    float min;
    float max;
    float defaultValue;
    int steps;           // list entries or integer values less one; 0: continuous
    const char* entries; // a list control's entries, comma-separated; empty otherwise
};

const std::vector<PanelPort>& panelPorts();

// A control's value (normalized for a continuous control, the step for a stepped one) and the
// port's plain value, each way.
float portValueOfControl(const PanelPort& port, float controlValue);
float controlValueOfPort(const PanelPort& port, float portValue);

} // namespace TessalineLv2
