// CTessaline: construction, the eleven controls, their presets and the base settings.
#include "room/CTessaline.h"

#include "core/MidiProtocol.h"

#include "engine/CDelayLine.h"
#include "engine/CPartitionedConvolver.h"

namespace {
struct ControlDefinition
{
    const char* name;
    const char* variable;
    int32_t dataType;
    float max;
    float initial;
    const char* list; // list entries for list controls
    double factoryPreset;
    double studioPreset;
};

const char* const kUnusedList = "SEL1,SEL2,SEL3";

// In control-list order; a control's position is its id, its host parameter id and its index
// in the value table.
const ControlDefinition kControls[CTessaline::kControlCount] = {
    {"Gain", "m_fGain", kDataFloat, 1.0f, 0.5f, kUnusedList, 0.5, 0.5},
    {"Position", "m_uPosition", kDataUint, 10.0f, 0.0f, "Center,L22,L32,L45,L64,L90,R22,R32,R45,R64,R90", 0.0,
     5.0},
    {"Vol L-R", "m_fVolLR", kDataFloat, 1.0f, 1.0f, kUnusedList, 1.0, 1.0},
    {"Abs L-R", "m_fAbsLR", kDataFloat, 14.0f, 7.0f, kUnusedList, 7.0, 5.31},
    {"Vol F-B", "m_fVolFB", kDataFloat, 1.0f, 1.0f, kUnusedList, 1.0, 1.0},
    {"Abs F-B", "m_fAbsFB", kDataFloat, 14.0f, 7.0f, kUnusedList, 7.0, 7.54},
    {"Vol C-F", "m_fVolCF", kDataFloat, 1.0f, 1.0f, kUnusedList, 1.0, 1.0},
    {"Abs C-F", "m_fAbsCF", kDataFloat, 14.0f, 7.0f, kUnusedList, 7.0, 9.49},
    {"Decay Type", "m_nCurveType", kDataInt, 1.0f, 1.0f, kUnusedList, 1.0, 0.0},
    {"Stereo/Mono", "m_fStereoMono", kDataUint, 1.0f, 0.0f, "Stereo,Mono", 0.0, 0.0},
    {"Left/Right", "m_fLeftRight", kDataUint, 1.0f, 0.0f, "Left,Right", 0.0, 0.0},
};

const char* const kPresetNames[kPresetSlots] = {"Factory Preset", "Studio"};

void setupJoystick(CControlEntry& axis, uint32_t id, const char* name, int32_t valueIndex, int32_t controller)
{
    axis.uId = id;
    CControlEntry::setText(axis.szName, name);
    axis.nDataType = kDataFloat;
    axis.fValue = 0.0f;
    axis.bAxesRotated = true;
    axis.nValueIndex = valueIndex;
    axis.nMidiStatus = Midi::kControlChange;
    axis.nMidiController = controller;
    axis.bSmooth = false;
    axis.fSmoothTimeMs = 100.0f;
    axis.bMidiControl = false;
}
} // namespace

CTessaline::CTessaline()
{
    createEngine();
    declareControls();
    m_pPlugInName = "Tessaline";
    m_bHasEditor = true;
    m_bOutputOnly = false;
    m_bWantMidiMessages = false;
}

CTessaline::~CTessaline()
{
    // Engine objects go in creation order, before the base.
    m_pEarlyLeft.reset();
    m_pEarlyRight.reset();
    m_pLateLeft.reset();
    m_pLateRight.reset();
    m_pLateDelayLeft.reset();
    m_pLateDelayRight.reset();
}

// [main thread] Fills the control list once; a second call leaves it as it is.
bool CTessaline::declareControls()
{
    if (m_ControlList.controlCount() > 0)
        return true;

    float* floats[kControlCount] = {&m_fGain,  nullptr,   &m_fVolLR, &m_fAbsLR,
                                    &m_fVolFB, &m_fAbsFB, &m_fVolCF, &m_fAbsCF};
    uint32_t* uints[kControlCount] = {nullptr, &m_uPosition};
    uints[kStereoMono] = &m_fStereoMono;
    uints[kLeftRight] = &m_fLeftRight;

    for (uint32_t id = 0; id < kControlCount; ++id)
    {
        const ControlDefinition& def = kControls[id];
        CControlEntry entry;
        entry.nKind = kControlKindNormal;
        entry.uId = id;
        entry.nValueIndex = static_cast<int32_t>(id);
        entry.fMin = 0.0f;
        entry.fMax = def.max;
        entry.nDataType = def.dataType;
        entry.nPrecision = 2;
        entry.bSmooth = false;
        entry.fSmoothTimeMs = 100.0f;
        entry.bMidiControl = false;
        entry.nMidiStatus = Midi::kControlChange;
        entry.nMidiController = 3;
        entry.nMidiChannel = 0;
        CControlEntry::setText(entry.szName, def.name);
        CControlEntry::setText(entry.szVariable, def.variable);
        CControlEntry::setText(entry.szEnumList, def.list);
        CControlEntry::setText(entry.szUnits, "");
        entry.dPresetValues[0] = def.factoryPreset;
        entry.dPresetValues[1] = def.studioPreset;
        entry.fValue = def.initial;
        if (def.dataType == kDataFloat)
        {
            *floats[id] = def.initial;
            entry.pFloatVar = floats[id];
        }
        else if (def.dataType == kDataUint)
        {
            *uints[id] = static_cast<uint32_t>(def.initial);
            entry.pUintVar = uints[id];
        }
        else
        {
            m_nCurveType = static_cast<int32_t>(def.initial);
            entry.pIntVar = &m_nCurveType;
        }
        m_ControlList.appendControl(entry);
    }

    m_ButtonLabels[0] = "B1";
    m_ButtonLabels[1] = "B2";
    m_ButtonLabels[2] = "B3";
    m_bHasEditor = true;
    m_nKnobMode = 2;
    m_fLatencySamples = 0.0f;
    m_fTailTimeMs = tailTimeMs(m_nSampleRate);
    m_bWantSidechain = 0;
    m_bWantSampleAccurate = 0;
    m_nUpdateInterval = 0;
    m_bInfiniteTail = 0;
    setupJoystick(m_JoystickX, kJoystickXControlId, "MIDI JS X", kControlCount, Midi::kGeneralPurpose1);
    setupJoystick(m_JoystickY, kJoystickYControlId, "MIDI JS Y", kControlCount + 1, Midi::kGeneralPurpose2);
    for (int slot = 0; slot < kPresetSlots; ++slot)
        m_PresetNames[slot] = kPresetNames[slot] != nullptr ? kPresetNames[slot] : "";
    buildControlTables();
    return true;
}

CPlugIn* createPlugIn() { return new CTessaline(); }
