// Base class of every DSP object driven by the host adapter. Knows nothing of VST3.
//
// Threads: processFrame, processBuffers, smoothControls and the MIDI operations run on the
// audio thread. The set operations run on whichever thread carries a change; the host adapter
// guarantees that they never overlap frame processing.
#pragma once

#include "CControlEntry.h"
#include "CControlList.h"
#include "PlugInTypes.h"

#include <cstdint>
#include <memory>

class CPlugIn
{
public:
    CPlugIn();
    virtual ~CPlugIn();                                                           // slot 0
    CPlugIn(const CPlugIn&) = delete;
    CPlugIn& operator=(const CPlugIn&) = delete;

    virtual bool prepare();                                                       // slot 1
    virtual bool processFrame(const float* in, float* out, uint32_t inChannels,
                              uint32_t outChannels);                              // slot 2
    virtual bool controlChanged(uint32_t uId);                                    // slot 3
    virtual bool postConstruct();                                                 // slot 4
    virtual bool joystickChanged(float a, float b, float c, float d, float ac,
                                 float bd);                                       // slot 5
    virtual bool processInterleavedBuffer(float* in, float* out, uint32_t unused1,
                                          uint32_t unused2, uint32_t sampleCount); // slot 6
    virtual bool processBuffers(float** in, float** out, uint32_t channels,
                                uint32_t frames);                                 // slot 7
    virtual bool midiNoteOn(uint32_t channel, uint32_t note, uint32_t velocity);  // slot 8
    virtual bool midiNoteOff(uint32_t channel, uint32_t note, uint32_t velocity,
                             bool allNotesOff);                                   // slot 9
    virtual bool midiModWheel(uint32_t channel, uint32_t value);                  // slot 10
    virtual bool midiPitchBend(uint32_t channel, int32_t value, float normalized); // slot 11
    virtual bool midiClock();                                                     // slot 12
    virtual bool midiMessage(uint8_t channel, uint8_t status, uint8_t data1,
                             uint8_t data2);                                      // slot 13
    virtual bool declareControls();                                               // slot 14
    virtual void hostMessage(uint32_t type, CHostMessage& message);               // slot 15
    virtual bool reportDependentControls(uint32_t uId, float plainValue,
                                         CDependentControl** list, bool flag);    // slot 16
    // Frees a list whose nodes were allocated with new, the last node first.
    virtual void releaseDependentList(CDependentControl** list);                  // slot 17
    virtual void* uiMessage(CUiMessage* message);                                 // slot 18
    virtual bool processAuxInput(CAuxInputInfo* info);                            // slot 19

    // Control access by position (0 .. m_nControlCount-1). Safe no-ops on a missing table/entry.
    // The set operations clamp into range and ignore a non-finite value (no change, no
    // controlChanged).
    float getControlValue(uint32_t position) const;
    // The bound value's linear position in fMin..fMax (0..1); 0 for an empty range.
    float getControlNormalized(uint32_t position) const;
    void setControlNormalized(uint32_t position, float normalized, bool applyNow);
    void setControlPlain(uint32_t position, float plain);

    // Vector joystick (see the joystick mix in CPlugInJoystick.cpp). Positions are clamped to
    // -1..1; a non-finite position is ignored.
    void getJoystickValues(float& x, float& y) const;
    void setJoystickX(float x, bool rotated);
    void setJoystickY(float y, bool rotated);
    // [audio thread] One smoothing step; called once per frame before control variables are read.
    void smoothControls();

    struct JoystickMix
    {
        double a, b, c, d, ac, bd;
    };
    static JoystickMix mixJoystick(double x, double y, bool rotated);

    // Builds m_nControlCount, the control table and the value table from m_ControlList.
    // The table points at the list's own nodes: rebuild it after changing the list.
    void buildControlTables();

    // --- members read or written by the host adapter and the effect ---
    int32_t m_nSampleRate = 44100;
    const char* m_pPlugInName = "Name Not Set.";
    bool m_bOutputOnly = false;
    bool m_bWantMidiMessages = false;
    bool m_bProcessWholeBuffers = false;
    bool m_bHasEditor = false;
    int32_t m_nKnobMode = 0;
    uint32_t m_bWantSidechain = 0;
    uint32_t m_bWantSampleAccurate = 0;
    int32_t m_nUpdateInterval = 0;
    uint32_t m_bInfiniteTail = 0;
    float m_fLatencySamples = 0.0f;
    float m_fTailTimeMs = 0.0f;
    const char* m_PresetNames[kPresetSlots] = {};
    std::unique_ptr<uint8_t[]> m_PresetBlocks[kPresetSlots];
    const char* m_ButtonLabels[3] = {"B1", "B2", "B3"};
    CControlEntry m_JoystickX;
    CControlEntry m_JoystickY;
    CHostInfo m_HostInfo;
    CControlList m_ControlList;
    std::unique_ptr<CControlEntry*[]> m_ppControlTable;
    uint32_t m_nControlCount = 0;
    std::unique_ptr<CControlValue[]> m_pControlValues;

protected:
    CControlEntry* entryAt(uint32_t position) const;

private:
    void writeControl(CControlEntry& entry, float plain, bool applyNow, bool truncateInt);
    void applyJoystickValues(const CHostMessage& message);
    static bool storeJoystickPosition(CControlEntry& axis, float position, bool toTarget);
    void sendJoystickMix(bool rotated);
};
