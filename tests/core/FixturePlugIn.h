// A small DSP object with one control of each kind, counting the notifications it receives.
#pragma once

#include "core/CPlugIn.h"

#include <array>
#include <cstdint>
#include <map>

class FixturePlugIn : public CPlugIn
{
public:
    enum Position : uint32_t
    {
        kIntUnit = 0,  // int 0..1
        kIntWide,      // int -10..10
        kFloat,        // float 0..10
        kFloatSmooth,  // float 0..1, smoothed
        kDouble,       // double -1..1
        kDoubleSmooth, // double 0..1, smoothed
        kChoice,       // uint 0..10
        kMeter,        // meter, no bound variable
        kIntEmpty,     // int, fMin == fMax == 5
        kFloatEmpty,   // float, fMin == fMax == 2
        kCount,
    };
    static constexpr uint32_t kIdBase = 100; // ids differ from positions on purpose

    int32_t m_nIntUnit = 0;
    int32_t m_nIntWide = 0;
    float m_fFloat = 0.0f;
    float m_fFloatSmooth = 0.0f;
    double m_dDouble = 0.0;
    double m_dDoubleSmooth = 0.0;
    uint32_t m_uChoice = 0;
    float m_fMeter = 0.0f;
    int32_t m_nIntEmpty = 0;
    float m_fFloatEmpty = 0.0f;

    std::map<uint32_t, int> changes; // uId -> number of controlChanged calls
    int joystickCalls = 0;
    std::array<float, 6> lastMix{}; // a, b, c, d, ac, bd

    FixturePlugIn() { declareControls(); }

    int changesOf(uint32_t position) const
    {
        auto it = changes.find(kIdBase + position);
        return it == changes.end() ? 0 : it->second;
    }
    int totalChanges() const
    {
        int n = 0;
        for (const auto& entry : changes)
            n += entry.second;
        return n;
    }

    bool controlChanged(uint32_t uId) override
    {
        ++changes[uId];
        return true;
    }
    bool joystickChanged(float a, float b, float c, float d, float ac, float bd) override
    {
        ++joystickCalls;
        lastMix = {a, b, c, d, ac, bd};
        return true;
    }

    bool declareControls() override
    {
        if (m_ControlList.controlCount() != 0)
            return true;
        add(kIntUnit, kDataInt, 0, 1, false);
        add(kIntWide, kDataInt, -10, 10, false);
        add(kFloat, kDataFloat, 0, 10, false);
        add(kFloatSmooth, kDataFloat, 0, 1, true);
        add(kDouble, kDataDouble, -1, 1, false);
        add(kDoubleSmooth, kDataDouble, 0, 1, true);
        add(kChoice, kDataUint, 0, 10, false);
        add(kMeter, kDataNone, 0, 1, false);
        add(kIntEmpty, kDataInt, 5, 5, false);
        add(kFloatEmpty, kDataFloat, 2, 2, false);
        buildControlTables();
        m_JoystickX.nValueIndex = static_cast<int32_t>(m_nControlCount);
        m_JoystickY.nValueIndex = static_cast<int32_t>(m_nControlCount + 1);
        return true;
    }

private:
    void add(uint32_t position, int32_t dataType, float lo, float hi, bool smooth)
    {
        CControlEntry record;
        record.nKind = position == kMeter ? kControlKindMeter : kControlKindNormal;
        record.uId = kIdBase + position;
        record.nDataType = dataType;
        record.fMin = lo;
        record.fMax = hi;
        record.bSmooth = smooth;
        record.nValueIndex = static_cast<int32_t>(position);
        switch (position)
        {
        case kIntUnit: record.pIntVar = &m_nIntUnit; break;
        case kIntWide: record.pIntVar = &m_nIntWide; break;
        case kFloat: record.pFloatVar = &m_fFloat; break;
        case kFloatSmooth: record.pFloatVar = &m_fFloatSmooth; break;
        case kDouble: record.pDoubleVar = &m_dDouble; break;
        case kDoubleSmooth: record.pDoubleVar = &m_dDoubleSmooth; break;
        case kChoice: record.pUintVar = &m_uChoice; break;
        case kMeter: record.pMeterVar = &m_fMeter; break;
        case kIntEmpty: record.pIntVar = &m_nIntEmpty; break;
        case kFloatEmpty: record.pFloatVar = &m_fFloatEmpty; break;
        default: break;
        }
        CControlEntry::setText(record.szName, "Control");
        m_ControlList.appendControl(record);
    }
};
