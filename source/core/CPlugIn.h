// Base class of every DSP object driven by the host adapter. Knows nothing of VST3.
//
// Thread contract. Two threads call a DSP object, and the host adapter keeps to this:
//  - The audio thread runs processing: processFrame, processFrameRun, processBuffers,
//    processInterleavedBuffer, processAuxInput, smoothControls, the MIDI operations and
//    hostMessage. It also runs the set operations (and so controlChanged and joystickChanged) for
//    every change made while processing: the block's parameter changes, button presses, and the main thread's
//    changes (state loads, presets, edits), which reach it as snapshots through the adapter's wait-free
//    control hand-off at the start of a block.
//  - The UI (main) thread runs construction, declareControls, postConstruct and prepare, and
//    applies changes itself through the set operations, but only while nothing is processed.
//  - uiMessage, reportDependentControls and releaseDependentList are UI-thread entry points
//    that the editor calls at any time, also while the audio thread processes. They must touch
//    no state the audio thread reads or writes (control variables, the value table, the
//    engine); they may read the control list's fixed fields (ids, ranges, texts), their
//    arguments and UI-only state of their own.
// The adapter never runs two audio-thread operations at once, nor a UI-thread set operation
// while a block is processed.
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
    virtual ~CPlugIn(); // slot 0
    CPlugIn(const CPlugIn&) = delete;
    CPlugIn& operator=(const CPlugIn&) = delete;

    // [UI thread, not processing] After construction and on each activation or rate change.
    virtual bool prepare(); // slot 1
    // [audio thread] Processing (frame by frame, or whole buffers when m_bProcessWholeBuffers).
    virtual bool processFrame(const float* in, float* out, uint32_t inChannels,
                              uint32_t outChannels); // slot 2
    // [thread of the set operation] A control, or a button (kButtonNControlId), changed.
    virtual bool controlChanged(uint32_t uId); // slot 3
    // [UI thread] Once, after declareControls and the control tables are built.
    virtual bool postConstruct(); // slot 4
    // [thread of the set operation] The joystick moved (see mixJoystick).
    virtual bool joystickChanged(float a, float b, float c, float d, float ac,
                                 float bd); // slot 5
    // [audio thread]
    virtual bool processInterleavedBuffer(float* in, float* out, uint32_t unused1, uint32_t unused2,
                                          uint32_t sampleCount); // slot 6
    virtual bool processBuffers(float** in, float** out, uint32_t channels,
                                uint32_t frames); // slot 7
    // [audio thread] MIDI from the block's events and the MIDI pseudo-parameters.
    virtual bool midiNoteOn(uint32_t channel, uint32_t note, uint32_t velocity); // slot 8
    virtual bool midiNoteOff(uint32_t channel, uint32_t note, uint32_t velocity,
                             bool allNotesOff);                                    // slot 9
    virtual bool midiModWheel(uint32_t channel, uint32_t value);                   // slot 10
    virtual bool midiPitchBend(uint32_t channel, int32_t value, float normalized); // slot 11
    virtual bool midiClock();                                                      // slot 12
    virtual bool midiMessage(uint8_t channel, uint8_t status, uint8_t data1,
                             uint8_t data2); // slot 13
    // [UI thread] Once, at construction: fills m_ControlList.
    virtual bool declareControls(); // slot 14
    // [audio thread; UI thread, not processing, for msgMidiEventList] See CHostMessageType.
    virtual void hostMessage(uint32_t type, CHostMessage& message); // slot 15
    // [UI thread, any time] The controls that follow from control uId at plainValue, as a
    // list the caller frees with releaseDependentList. Touches no audio-thread state.
    virtual bool reportDependentControls(uint32_t uId, float plainValue, CDependentControl** list,
                                         bool flag); // slot 16
    // [UI thread, any time] Frees a list whose nodes were allocated with new, the last node first.
    virtual void releaseDependentList(CDependentControl** list); // slot 17
    // [UI thread, any time] Editor events and parameter values (CUiMessageCode). Touches no
    // audio-thread state.
    virtual void* uiMessage(CUiMessage* message); // slot 18
    // [audio thread] The side-chain input of the coming frame or buffer.
    virtual bool processAuxInput(CAuxInputInfo* info); // slot 19
    // [audio thread] Offered `frames` frames of zero input on `channels` channels: an object
    // that can stand in for them exactly, without running its processing, returns true and its
    // output for them is zero; false (the default) and the frames are processed as usual.
    virtual bool skipSilentFrames(uint32_t frames, uint32_t channels); // slot 20
    // [audio thread] The adapter has stopped feeding the object (bypass) and will not run its
    // processing until this answers true: forget what it has heard, so that nothing of it comes
    // out once processing resumes. Work is spread over the calls, each no more than about what
    // `frames` frames of processing would cost; 0 frames asks for the rest at once. Called
    // again after true only once more frames have been processed. The default keeps nothing.
    virtual bool forgetSignal(uint32_t frames); // slot 21
    // [audio thread] A run of `frames` frames in which nothing happens between the frames: no
    // event, no control change, no side-chain input, and no transport the object reads (the
    // adapter reports the transport once, as it stands after the run's last frame). in[c] and
    // out[c] for c < channels (1 or 2) hold the run's samples, one channel each; a null in[c]
    // reads zeros and a non-finite sample reads as zero, as in the frame path; out may be in.
    // An object that can take the whole run in one pass, with the output that `frames`
    // processFrame calls with these frames would give, does so and returns true; false (the
    // default), nothing done, and the adapter runs the frames one by one.
    virtual bool processFrameRun(const float* const* in, float* const* out, uint32_t channels,
                                 uint32_t frames); // slot 22

    // Control access by position (0 .. m_nControlCount-1). Safe no-ops on a missing table/entry.
    // The set operations run on the audio thread, or on the UI thread while not processing.
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
    // Nothing to do, and nothing done, when prepare() found no smoothed control.
    void smoothControls()
    {
        if (m_bHasSmoothers)
            stepSmoothers();
    }
    // [audio thread] True when smoothControls would change nothing: no control is gliding and
    // the joystick is not smoothed.
    bool smoothingAtRest() const;

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
    void stepSmoothers();
    void writeControl(CControlEntry& entry, float plain, bool applyNow, bool truncateInt);
    void applyJoystickValues(const CHostMessage& message);
    static bool storeJoystickPosition(CControlEntry& axis, float position, bool toTarget);
    void sendJoystickMix(bool rotated);

    // Whether any control or the joystick is smoothed, as prepare() last found; until then
    // (and after the tables are rebuilt) every frame steps the table as before.
    bool m_bHasSmoothers = true;
};
