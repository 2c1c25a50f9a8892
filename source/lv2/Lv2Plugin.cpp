#include "lv2/Lv2Plugin.h"

#include "adapter/parameters/ValueMapping.h"
#include "adapter/realtime/DenormalGuard.h"
#include "adapter/realtime/SampleChecks.h"
#include "lv2/Lv2MidiInput.h"

#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace TessalineLv2 {

using namespace Steinberg::Vst::Vava2DUZ3;

Lv2Plugin* Lv2Plugin::create(double sampleRate, const LV2_Feature* const* features, PlugInCreator creator)
{
    const LV2_URID_Map* map = nullptr;
    for (int i = 0; features && features[i]; ++i)
        if (std::strcmp(features[i]->URI, LV2_URID__map) == 0)
            map = static_cast<const LV2_URID_Map*>(features[i]->data);
    if (!std::isfinite(sampleRate) || sampleRate < 1.0 || sampleRate > 2147483647.0)
        return nullptr;
    std::unique_ptr<Lv2Plugin> self(new (std::nothrow) Lv2Plugin());
    if (!self)
        return nullptr;
    try
    {
        self->m_pPlugIn.reset(creator());
        if (!self->m_pPlugIn)
            return nullptr;
        CPlugIn& plugIn = *self->m_pPlugIn;
        plugIn.postConstruct();
        plugIn.m_nSampleRate = static_cast<int32_t>(sampleRate);
        plugIn.prepare();
        self->m_Bypass.reset(plugIn.m_nSampleRate, false);
        const uint32_t controls = plugIn.m_ControlList.controlCount();
        if (controls != controlPortCount())
            return nullptr; // the port table is fixed: a DSP object with other controls has no ports
        self->m_Layout.controls = controls;
        self->m_ControlPorts.assign(controls, nullptr);
        self->m_LastPortValues.resize(controls);
        for (uint32_t k = 0; k < controls; ++k)
            self->m_LastPortValues[k] = plugIn.getControlValue(k);
        self->m_StateLayout = CStateLayout::fromPlugIn(plugIn);
        self->m_Mirror.allocate(controls);
        self->m_Mirror.storeFrom(plugIn, false);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
    // Without a URID map (a plain file processor) there is no MIDI and no state: zero ids.
    if (map)
    {
        self->m_uMidiEvent = map->map(map->handle, LV2_MIDI__MidiEvent);
        self->m_uChunk = map->map(map->handle, LV2_ATOM__Chunk);
        self->m_uStateKey = map->map(map->handle, kStateUri);
    }
    return self.release();
}

Lv2Plugin::~Lv2Plugin() = default;

void Lv2Plugin::connect(uint32_t port, void* data)
{
    if (port < m_Layout.controls)
        m_ControlPorts[port] = static_cast<const float*>(data);
    else if (port == m_Layout.enabled())
        m_pEnabled = static_cast<const float*>(data);
    else if (port == m_Layout.latency())
        m_pLatency = static_cast<float*>(data);
    else if (port == m_Layout.inLeft() || port == m_Layout.inRight())
        m_pIn[port - m_Layout.inLeft()] = static_cast<const float*>(data);
    else if (port == m_Layout.outLeft() || port == m_Layout.outRight())
        m_pOut[port - m_Layout.outLeft()] = static_cast<float*>(data);
    else if (port == m_Layout.midiIn())
        m_pMidi = static_cast<const LV2_Atom_Sequence*>(data);
}

void Lv2Plugin::activate()
{
    // A fresh start at the instance's rate, as the VST3 path does on activation.
    m_pPlugIn->prepare();
    m_Bypass.reset(m_pPlugIn->m_nSampleRate, m_bBypass);
    m_Mirror.storeFrom(*m_pPlugIn, m_bBypass);
}

void Lv2Plugin::applyControlPorts()
{
    // A port that moved is applied the way the VST3 path applies a host change at the start of a
    // block: its normalized value turned into the control's position, smoothed by the DSP object.
    for (uint32_t k = 0; k < m_Layout.controls; ++k)
    {
        const float* port = m_ControlPorts[k];
        if (!port || !std::isfinite(*port) || *port == m_LastPortValues[k])
            continue;
        m_LastPortValues[k] = *port;
        const CControlEntry* control = m_pPlugIn->m_ControlList.controlAt(k);
        if (!control)
            continue;
        const double normalized = std::clamp(positionToParameter(*control, *port), 0.0, 1.0);
        m_pPlugIn->setControlNormalized(k, parameterToPosition(*control, normalized), false);
    }
    if (m_pEnabled && std::isfinite(*m_pEnabled))
        m_bBypass = *m_pEnabled <= 0.0f; // lv2:enabled: 1 runs the room
}

void Lv2Plugin::applyMidi()
{
    if (!m_pMidi || m_uMidiEvent == 0)
        return;
    LV2_ATOM_SEQUENCE_FOREACH(m_pMidi, event)
    {
        if (event->body.type != m_uMidiEvent)
            continue;
        deliverMidiMessage(*m_pPlugIn, static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&event->body)),
                           event->body.size);
    }
}

void Lv2Plugin::processFrames(const float* const in[2], float* const out[2], uint32_t from, uint32_t to,
                              bool fade)
{
    // MIDI and the control ports act at the block's start: frames outside a fade are one run
    // where the object takes it.
    if (!fade && to > from)
    {
        const float* const ins[2] = {in[0] ? in[0] + from : nullptr, in[1] ? in[1] + from : nullptr};
        float* const outs[2] = {out[0] + from, out[1] + from};
        if (m_pPlugIn->processFrameRun(ins, outs, 2, to - from))
            return;
    }
    float inFrame[2] = {0.0f, 0.0f};
    float outFrame[2] = {0.0f, 0.0f};
    for (uint32_t i = from; i < to; ++i)
    {
        for (uint32_t c = 0; c < 2; ++c)
            inFrame[c] = in[c] ? finiteOrZero(in[c][i]) : 0.0f;
        if (fade)
        {
            float roomIn[2] = {0.0f, 0.0f};
            const float w = m_Bypass.fadeInput(inFrame, roomIn, 2);
            m_pPlugIn->processFrame(roomIn, outFrame, 2, 2);
            CBypassCrossfade::mixFrame(inFrame, outFrame, 2, w);
        }
        else
            m_pPlugIn->processFrame(inFrame, outFrame, 2, 2);
        out[0][i] = outFrame[0];
        out[1][i] = outFrame[1];
    }
}

void Lv2Plugin::run(uint32_t frames)
{
    CScopedDenormalFlush flushDenormals;
    if (m_pLatency)
        *m_pLatency = m_pPlugIn->m_fLatencySamples;
    applyControlPorts();
    // Controller messages act from the start of the block, as the VST3 path's mapped
    // parameters do.
    applyMidi();
    if (frames > 0 && m_pOut[0] && m_pOut[1])
    {
        const float* const in[2] = {m_pIn[0], m_pIn[1]};
        // The enabled port moves once a block: a switch crossfades from the block's start.
        m_Bypass.setBypass(m_bBypass);
        bool silent = m_Bypass.settledOnRoom();
        for (uint32_t c = 0; c < 2 && silent; ++c)
            silent = !in[c] || readsAsSilence(in[c], static_cast<int32_t>(frames));
        if (silent && m_pPlugIn->skipSilentFrames(frames, 2))
        {
            std::fill(m_pOut[0], m_pOut[0] + frames, 0.0f);
            std::fill(m_pOut[1], m_pOut[1] + frames, 0.0f);
        }
        else
        {
            // Frames from `base` on; hosts hand over blocks far below 2^31 frames, and a larger
            // one is taken in pieces.
            uint32_t base = 0;
            auto room = [&](int32_t a, int32_t b) {
                processFrames(in, m_pOut, base + static_cast<uint32_t>(a), base + static_cast<uint32_t>(b),
                              false);
            };
            auto dry = [&](int32_t a, int32_t b) {
                for (uint32_t c = 0; c < 2; ++c)
                    for (uint32_t i = base + static_cast<uint32_t>(a); i < base + static_cast<uint32_t>(b);
                         ++i)
                        m_pOut[c][i] = in[c] ? finiteOrZero(in[c][i]) : 0.0f;
            };
            auto fade = [&](int32_t a, int32_t b) {
                processFrames(in, m_pOut, base + static_cast<uint32_t>(a), base + static_cast<uint32_t>(b),
                              true);
            };
            for (; base < frames;)
            {
                const uint32_t piece = std::min<uint32_t>(frames - base, 1u << 30);
                m_Bypass.run(*m_pPlugIn, 0, static_cast<int32_t>(piece), room, dry, fade);
                base += piece;
            }
        }
    }
    m_Mirror.storeFrom(*m_pPlugIn, m_bBypass);
}

LV2_State_Status Lv2Plugin::save(LV2_State_Store_Function store, LV2_State_Handle handle)
{
    // [may run beside run()] The values run() published last.
    StateValues values;
    values.controls.resize(m_Mirror.count());
    for (uint32_t k = 0; k < m_Mirror.count(); ++k)
        values.controls[k] = m_Mirror.control(k);
    values.bypass = m_Mirror.bypass();
    values.hasJoystick = true;
    values.joystickX = m_Mirror.joystickX();
    values.joystickY = m_Mirror.joystickY();
    const std::vector<uint8_t> bytes = m_StateLayout.encode(values);
    if (bytes.empty() || m_uStateKey == 0)
        return LV2_STATE_ERR_UNKNOWN;
    return store(handle, m_uStateKey, bytes.data(), bytes.size(), m_uChunk,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Lv2Plugin::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle)
{
    // [not beside run()] The controls and the bypass are ports, which the host restores; the
    // stream carries them too, and is refused whole when any part of it is damaged.
    if (m_uStateKey == 0)
        return LV2_STATE_ERR_NO_FEATURE;
    size_t size = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    const void* data = retrieve(handle, m_uStateKey, &size, &type, &flags);
    if (!data)
        return LV2_STATE_ERR_NO_PROPERTY;
    if (type != m_uChunk)
        return LV2_STATE_ERR_BAD_TYPE;
    StateValues values;
    if (!m_StateLayout.decode(static_cast<const uint8_t*>(data), size, values))
        return LV2_STATE_ERR_UNKNOWN;
    if (values.hasJoystick)
    {
        // As the VST3 reader: a non-finite position keeps the current one.
        if (std::isfinite(values.joystickX))
            m_pPlugIn->setJoystickX(std::clamp(values.joystickX, -1.0f, 1.0f), true);
        if (std::isfinite(values.joystickY))
            m_pPlugIn->setJoystickY(std::clamp(values.joystickY, -1.0f, 1.0f), true);
    }
    m_Mirror.storeFrom(*m_pPlugIn, m_bBypass);
    return LV2_STATE_SUCCESS;
}

} // namespace TessalineLv2
