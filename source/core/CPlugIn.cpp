#include "CPlugIn.h"

#include "core/MidiProtocol.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// A whole number held inside the range of T, so that the conversion never overflows.
template <typename T>
T saturate(double whole)
{
    return static_cast<T>(
        std::clamp(whole, double(std::numeric_limits<T>::min()), double(std::numeric_limits<T>::max())));
}

// floor(v + 0.5) with the addition in double precision.
double roundHalfUp(float v) { return std::floor(static_cast<double>(v) + 0.5); }

float clampToRange(const CControlEntry& entry, float v)
{
    // A range declared upside down still has a well-defined inside.
    const float lo = std::min(entry.fMin, entry.fMax);
    const float hi = std::max(entry.fMin, entry.fMax);
    return std::clamp(v, lo, hi);
}

} // namespace

CPlugIn::CPlugIn()
{
    CControlEntry::setText(m_JoystickX.szName, "MIDI JS X");
    m_JoystickX.nMidiStatus = Midi::kControlChange;
    m_JoystickX.nMidiController = Midi::kGeneralPurpose1;
    CControlEntry::setText(m_JoystickY.szName, "MIDI JS Y");
    m_JoystickY.nMidiStatus = Midi::kControlChange;
    m_JoystickY.nMidiController = Midi::kGeneralPurpose2;
}

// Tables, list and preset blocks are owned and freed by their smart pointers.
CPlugIn::~CPlugIn() = default;

void CPlugIn::buildControlTables()
{
    m_nControlCount = m_ControlList.controlCount();
    m_bHasSmoothers = true; // until prepare() looks at the new table
    // Two spare entries mirror the value table, whose last two elements are the joystick axes.
    m_ppControlTable = std::make_unique<CControlEntry*[]>(m_nControlCount + 2);
    m_pControlValues = std::make_unique<CControlValue[]>(m_nControlCount + 2);
    for (uint32_t p = 0; p < m_nControlCount; ++p)
    {
        CControlEntry* entry = m_ControlList.controlAt(p);
        m_ppControlTable[p] = entry;
        m_pControlValues[p].nIndex = static_cast<int32_t>(p);
        m_pControlValues[p].uId = entry->uId;
    }
}

CControlEntry* CPlugIn::entryAt(uint32_t position) const
{
    if (!m_ppControlTable || position >= m_nControlCount)
        return nullptr;
    return m_ppControlTable[position];
}

float CPlugIn::getControlValue(uint32_t position) const
{
    const CControlEntry* entry = entryAt(position);
    if (entry == nullptr)
        return 0.0f;
    switch (entry->nDataType)
    {
    case kDataInt: return entry->pIntVar ? static_cast<float>(*entry->pIntVar) : 0.0f;
    case kDataFloat: return entry->pFloatVar ? *entry->pFloatVar : 0.0f;
    case kDataDouble: return entry->pDoubleVar ? static_cast<float>(*entry->pDoubleVar) : 0.0f;
    case kDataUint: return entry->pUintVar ? static_cast<float>(*entry->pUintVar) : 0.0f;
    default: return 0.0f;
    }
}

float CPlugIn::getControlNormalized(uint32_t position) const
{
    const CControlEntry* entry = entryAt(position);
    if (entry == nullptr)
        return 0.0f;
    const float span = entry->fMax - entry->fMin;
    const float position01 = (getControlValue(position) - entry->fMin) / span;
    // An empty range (or one too wide for float) has no meaningful position.
    if (span == 0.0f || !std::isfinite(position01))
        return 0.0f;
    return std::clamp(position01, 0.0f, 1.0f);
}

void CPlugIn::setControlNormalized(uint32_t position, float normalized, bool applyNow)
{
    CControlEntry* entry = entryAt(position);
    if (entry == nullptr || !std::isfinite(normalized))
        return;
    const float n = std::clamp(normalized, 0.0f, 1.0f);
    writeControl(*entry, (entry->fMax - entry->fMin) * n + entry->fMin, applyNow, false);
}

void CPlugIn::setControlPlain(uint32_t position, float plain)
{
    CControlEntry* entry = entryAt(position);
    if (entry == nullptr || !std::isfinite(plain))
        return;
    writeControl(*entry, clampToRange(*entry, plain), false, true);
}

// Writes a plain value into the bound variable (or the smoothing target) and notifies.
void CPlugIn::writeControl(CControlEntry& entry, float v, bool applyNow, bool truncateInt)
{
    // A range spanning more than float can hold maps to infinity; refuse it like any bad value.
    if (!std::isfinite(v))
        return;
    const bool toTarget = entry.bSmooth && !applyNow;
    switch (entry.nDataType)
    {
    case kDataInt:
        if (entry.pIntVar == nullptr)
            return;
        // A restored plain value goes to an int control truncated toward zero.
        *entry.pIntVar = saturate<int32_t>(truncateInt ? std::trunc(static_cast<double>(v)) : roundHalfUp(v));
        break; // an int control is notified even when its value did not change
    case kDataFloat:
        if (toTarget)
            entry.fTarget = v;
        else if (entry.pFloatVar != nullptr)
            *entry.pFloatVar = v;
        else
            return;
        break;
    case kDataDouble:
        if (toTarget)
            entry.fTarget = v;
        else if (entry.pDoubleVar != nullptr)
            *entry.pDoubleVar = static_cast<double>(v);
        else
            return;
        break;
    case kDataUint:
    {
        const uint32_t r = saturate<uint32_t>(roundHalfUp(v)); // never wrapped below zero
        if (entry.pUintVar == nullptr || *entry.pUintVar == r)
            return; // a list choice is notified only on change
        *entry.pUintVar = r;
        break;
    }
    default: return;
    }
    controlChanged(entry.uId);
}

void CPlugIn::hostMessage(uint32_t type, CHostMessage& message)
{
    const int64_t tableSize = static_cast<int64_t>(m_nControlCount) + 2;
    switch (type)
    {
    case msgHostInfo:
        if (message.pHostInfo != nullptr)
            m_HostInfo = *message.pHostInfo;
        break;
    case msgCollectMeters:
        if (!m_ppControlTable || !m_pControlValues || message.nValueCount != tableSize)
            return;
        for (uint32_t p = 0; p < m_nControlCount; ++p)
        {
            const CControlEntry* entry = m_ppControlTable[p];
            if (entry == nullptr || entry->nValueIndex < 0 || entry->nValueIndex >= tableSize)
                continue;
            CControlValue& element = m_pControlValues[entry->nValueIndex];
            element.bUpdated = false;
            if (entry->nKind == kControlKindMeter && entry->pMeterVar != nullptr)
            {
                element.fValue = *entry->pMeterVar;
                element.bUpdated = true;
            }
        }
        message.pValuesOut = m_pControlValues.get();
        break;
    case msgApplyControlValues:
        if (!message.pValuesIn || !message.pHostInfo || !m_ppControlTable || message.nValueCount != tableSize)
            return;
        m_HostInfo = *message.pHostInfo;
        for (uint32_t p = 0; p < m_nControlCount; ++p)
            if (message.pValuesIn[p].bUpdated)
                setControlNormalized(p, message.pValuesIn[p].fValue, message.bApplyNow);
        applyJoystickValues(message);
        break;
    default: break; // MIDI event lists and unknown types are for subclasses
    }
}

// The two joystick elements that follow the controls in an incoming value table.
void CPlugIn::applyJoystickValues(const CHostMessage& message)
{
    const CControlValue& x = message.pValuesIn[m_nControlCount];
    const CControlValue& y = message.pValuesIn[m_nControlCount + 1];
    if (!x.bUpdated && !y.bUpdated)
        return;
    m_JoystickX.bAxesRotated = x.bAxesRotated;
    m_JoystickY.bAxesRotated = x.bAxesRotated;
    const bool xToTarget = m_JoystickX.bSmooth && !message.bApplyNow;
    const bool yToTarget = m_JoystickY.bSmooth && !message.bApplyNow;
    storeJoystickPosition(m_JoystickX, x.fJoystick, xToTarget);
    storeJoystickPosition(m_JoystickY, y.fJoystick, yToTarget);
    if (!xToTarget)
        sendJoystickMix(m_JoystickX.bAxesRotated);
}

void CPlugIn::releaseDependentList(CDependentControl** list)
{
    if (list == nullptr)
        return;
    // Free the tail node until the head itself goes.
    while (*list != nullptr)
    {
        CDependentControl** link = list;
        while ((*link)->pNext != nullptr)
            link = &(*link)->pNext;
        delete *link;
        *link = nullptr;
    }
}

bool CPlugIn::processFrame(const float*, float*, uint32_t, uint32_t) { return true; }
bool CPlugIn::controlChanged(uint32_t) { return true; }
bool CPlugIn::postConstruct() { return true; }
bool CPlugIn::joystickChanged(float, float, float, float, float, float) { return true; }
bool CPlugIn::processInterleavedBuffer(float*, float*, uint32_t, uint32_t, uint32_t) { return true; }
bool CPlugIn::processBuffers(float**, float**, uint32_t, uint32_t) { return true; }
bool CPlugIn::midiNoteOn(uint32_t, uint32_t, uint32_t) { return true; }
bool CPlugIn::midiNoteOff(uint32_t, uint32_t, uint32_t, bool) { return true; }
bool CPlugIn::midiModWheel(uint32_t, uint32_t) { return true; }
bool CPlugIn::midiPitchBend(uint32_t, int32_t, float) { return true; }
bool CPlugIn::midiClock() { return true; }
bool CPlugIn::midiMessage(uint8_t, uint8_t, uint8_t, uint8_t) { return true; }
bool CPlugIn::declareControls() { return true; }
bool CPlugIn::reportDependentControls(uint32_t, float, CDependentControl**, bool) { return false; }
void* CPlugIn::uiMessage(CUiMessage*) { return nullptr; }
bool CPlugIn::processAuxInput(CAuxInputInfo*) { return true; }
bool CPlugIn::skipSilentFrames(uint32_t, uint32_t) { return false; }
bool CPlugIn::forgetSignal(uint32_t) { return true; }
bool CPlugIn::processFrameRun(const float* const*, float* const*, uint32_t, uint32_t) { return false; }
