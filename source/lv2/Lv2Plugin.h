// The LV2 plug-in: owns the DSP object and translates between the host's ports, MIDI atoms and
// state and the DSP object's control list. Threads follow LV2's classes: instantiate, activate,
// restore and cleanup never run with run(); save may run while run() does, so it reads the
// mirror run() publishes at the end of each block.
#pragma once

#include "adapter/realtime/BypassCrossfade.h"
#include "adapter/realtime/ControlMirror.h"
#include "adapter/processor/StateStream.h"
#include "core/CPlugIn.h"
#include "lv2/Lv2PortLayout.h"

#include <lv2/atom/atom.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <memory>
#include <vector>

namespace TessalineLv2 {

class Lv2Plugin
{
public:
    // [instantiation] Null for a rate the DSP object cannot hold or when it cannot be built.
    // Without the host's URID map the MIDI input and the state are left unused. `creator` builds
    // the DSP object: the original room, or the rate-true one.
    using PlugInCreator = CPlugIn* (*)();
    static Lv2Plugin* create(double sampleRate, const LV2_Feature* const* features, PlugInCreator creator);
    ~Lv2Plugin();

    void connect(uint32_t port, void* data);
    void activate();
    // [audio] No allocation, no locks, no system calls.
    void run(uint32_t frames);

    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    // A damaged or foreign state is refused and changes nothing.
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

private:
    Lv2Plugin() = default;
    void applyControlPorts();
    void applyMidi();
    // Frames [from, to) through the room, each mixed with its input by the crossfade when `fade`.
    void processFrames(const float* const in[2], float* const out[2], uint32_t from, uint32_t to, bool fade);

    std::unique_ptr<CPlugIn> m_pPlugIn;
    PortLayout m_Layout{};
    std::vector<const float*> m_ControlPorts;
    std::vector<float> m_LastPortValues; // what run() last applied from each control port
    const float* m_pEnabled = nullptr;
    float* m_pLatency = nullptr;
    const float* m_pIn[2] = {nullptr, nullptr};
    float* m_pOut[2] = {nullptr, nullptr};
    const LV2_Atom_Sequence* m_pMidi = nullptr;
    bool m_bBypass = false;
    Steinberg::Vst::Vava2DUZ3::CBypassCrossfade m_Bypass;
    Steinberg::Vst::Vava2DUZ3::CStateLayout m_StateLayout;
    Steinberg::Vst::Vava2DUZ3::CControlMirror m_Mirror;
    LV2_URID m_uMidiEvent = 0;
    LV2_URID m_uChunk = 0;
    LV2_URID m_uStateKey = 0;
};

} // namespace TessalineLv2
