// A DSP object whose controls each test declares, for the adapter and editor fixtures: control k
// gets id 100 + k and two decimals, and is bound to values[k], choices[k] or integers[k] as its
// data type asks.
#pragma once

#include "core/CPlugIn.h"

#include <cstdint>

namespace TessalineTest {

class DspWithControls : public CPlugIn
{
public:
    float values[16] = {};
    uint32_t choices[16] = {};
    int32_t integers[16] = {};

    // Appends a control bound to this object's storage; returns the list's copy for further edits.
    CControlEntry& addControl(const char* name, int32_t kind, int32_t dataType, float min, float max,
                              float initial)
    {
        const auto position = m_ControlList.controlCount();
        CControlEntry record;
        record.nKind = kind;
        record.uId = 100 + position;
        record.nDataType = dataType;
        record.fMin = min;
        record.fMax = max;
        record.nPrecision = 2;
        values[position] = initial;
        choices[position] = static_cast<uint32_t>(initial);
        integers[position] = static_cast<int32_t>(initial);
        if (dataType == kDataUint)
            record.pUintVar = &choices[position];
        else if (dataType == kDataInt)
            record.pIntVar = &integers[position];
        else
            record.pFloatVar = &values[position];
        CControlEntry::setText(record.szName, name);
        CControlEntry* entry = m_ControlList.appendControl(record);
        buildControlTables();
        return *entry;
    }
};

} // namespace TessalineTest
