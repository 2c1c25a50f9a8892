// One user control: a record bound by pointer to a member variable of the DSP object.
#pragma once

#include "core/MidiProtocol.h"

#include <cstddef>
#include <cstdint>

class IParamUpdateQueue;

enum CControlKind : int32_t
{
    kControlKindNone = 0,
    kControlKindNormal = 100,
    kControlKindMeter = 103,
};

enum CControlDataType : int32_t
{
    kDataInt = 0,
    kDataFloat = 1,
    kDataDouble = 2,
    kDataUint = 3, // a list choice
    kDataNone = 4,
};

constexpr size_t kControlTextCapacity = 1024; // 1023 characters and a terminator
constexpr int kPresetSlots = 16;

struct CControlEntry
{
    using Text = char[kControlTextCapacity];

    int32_t nKind = 0;
    uint32_t uId = 0;
    int32_t nMeterDetectMode = 2;
    float fMin = 0.0f;
    float fMax = 0.0f;
    int32_t nDataType = kDataNone;
    uint32_t nInitialValues[4] = {0, 0, 0, 0};
    float fTarget = 0.0f;
    float fSmoothA = 0.0f, fSmoothB = 0.0f;
    float fSmoothState = 0.0f, fSmoothLast = 0.0f;
    double dSmoothA = 0.0, dSmoothB = 0.0;
    double dSmoothState = 0.0, dSmoothLast = 0.0;
    float fSmoothTimeMs = 100.0f;
    bool bSmooth = false;
    float fValue = 0.0f;
    bool bAxesRotated = false;
    int32_t* pIntVar = nullptr;
    float* pFloatVar = nullptr;
    double* pDoubleVar = nullptr;
    uint32_t* pUintVar = nullptr;
    float* pMeterVar = nullptr;
    Text szName = {};
    Text szUnits = {};
    Text szVariable = {};
    Text szEnumList = {};
    Text szSpare = {};
    bool bMeterDecibels = false;
    bool bLogControl = false;
    bool bVoltOctave = false;
    float fMeterAttackMs = 10.0f;
    float fMeterReleaseMs = 500.0f;
    bool bMidiControl = false;
    int32_t nMidiStatus = Midi::kControlChange;
    int32_t nMidiController = 3;
    int32_t nMidiChannel = 0;
    int32_t nValueIndex = -1;
    int32_t nPrecision = 0;
    double dPresetValues[kPresetSlots] = {};
    IParamUpdateQueue* pUpdateQueue = nullptr;

    // Copies text into one of the record's fixed fields, truncated to 1023 characters.
    static void setText(Text& field, const char* text);
};
