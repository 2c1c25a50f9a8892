// The LV2 plug-in's identity and port table, shared by the plug-in and the generator of its
// turtle description: the room controls first, in control-list order (port k is control k),
// then the fixed ports, each with the index and symbol it keeps for good.
#pragma once

#include <cstdint>

namespace TessalineLv2 {

// The plug-in's URI: fixed for good once released.
constexpr const char* kPluginUri = "https://tessaline.quorvane.example/plugins/tessaline";
// The rate-true room beside it, in the same bundle with the same ports, state, presets and panel.
constexpr const char* kAnyRatePluginUri = "https://tessaline.quorvane.example/plugins/tessaline-any-rate";
// The key of the component state (an atom:Chunk holding the same stream the VST3 state carries).
constexpr const char* kStateUri = "https://tessaline.quorvane.example/plugins/tessaline#componentState";
constexpr const char* kBinaryName = "Tessaline.so";
// The panel (an X11 UI in a module of its own).
constexpr const char* kUiUri = "https://tessaline.quorvane.example/plugins/tessaline#ui";
constexpr const char* kUiBinaryName = "TessalineUI.so";

// What a port carries.
enum class PortKind
{
    kControl,  // a room control: `control` is its control-list position
    kEnabled,  // 1 runs the room, 0 bypasses (lv2:enabled)
    kLatency,  // reports the latency
    kAudioIn,  // `channel` 0 left, 1 right (optional: a mono host leaves it out)
    kAudioOut, // `channel` 0 left, 1 right
    kMidiIn,   // MIDI events (atom sequence)
};

struct PortEntry
{
    uint32_t index;
    const char* symbol;
    const char* name;
    PortKind kind;
    uint32_t control; // control-list position (kControl), channel (audio), else 0
};

// Every port with its index and symbol, fixed for good: saved sessions and presets find ports
// by symbol, some hosts by index. A renamed or added control never changes an entry here; a new
// port only ever goes at the end with the next free index. Names are what hosts show and may
// follow the controls' titles.
constexpr PortEntry kPorts[] = {
    {0, "gain", "Gain", PortKind::kControl, 0},
    {1, "position", "Position", PortKind::kControl, 1},
    {2, "vol_l_r", "Vol L-R", PortKind::kControl, 2},
    {3, "abs_l_r", "Abs L-R", PortKind::kControl, 3},
    {4, "vol_f_b", "Vol F-B", PortKind::kControl, 4},
    {5, "abs_f_b", "Abs F-B", PortKind::kControl, 5},
    {6, "vol_c_f", "Vol C-F", PortKind::kControl, 6},
    {7, "abs_c_f", "Abs C-F", PortKind::kControl, 7},
    {8, "decay_type", "Decay Type", PortKind::kControl, 8},
    {9, "stereo_mono", "Stereo/Mono", PortKind::kControl, 9},
    {10, "left_right", "Left/Right", PortKind::kControl, 10},
    {11, "enabled", "Enabled", PortKind::kEnabled, 0},
    {12, "latency", "Latency", PortKind::kLatency, 0},
    {13, "in_l", "In Left", PortKind::kAudioIn, 0},
    {14, "in_r", "In Right", PortKind::kAudioIn, 1},
    {15, "out_l", "Out Left", PortKind::kAudioOut, 0},
    {16, "out_r", "Out Right", PortKind::kAudioOut, 1},
    {17, "midi_in", "MIDI In", PortKind::kMidiIn, 0},
};
constexpr uint32_t kPortCount = sizeof kPorts / sizeof kPorts[0];

// The index of the first port of `kind` (and `control` for a control or an audio channel).
constexpr uint32_t portIndex(PortKind kind, uint32_t control = 0)
{
    for (const PortEntry& port : kPorts)
        if (port.kind == kind && port.control == control)
            return port.index;
    return kPortCount;
}

// The number of room-control ports; the DSP object's control list must have exactly these.
constexpr uint32_t controlPortCount()
{
    uint32_t count = 0;
    for (const PortEntry& port : kPorts)
        count += port.kind == PortKind::kControl ? 1 : 0;
    return count;
}

constexpr bool portsAreInIndexOrder()
{
    for (uint32_t k = 0; k < kPortCount; ++k)
        if (kPorts[k].index != k || (kPorts[k].kind == PortKind::kControl && kPorts[k].control != k))
            return false;
    return true;
}
static_assert(portsAreInIndexOrder(), "port k is entry k of the table, and control port k is control k");

struct PortLayout
{
    uint32_t controls; // room controls: ports 0 .. controls-1
    uint32_t enabled() const { return portIndex(PortKind::kEnabled); }
    uint32_t latency() const { return portIndex(PortKind::kLatency); }
    uint32_t inLeft() const { return portIndex(PortKind::kAudioIn, 0); }
    uint32_t inRight() const { return portIndex(PortKind::kAudioIn, 1); }
    uint32_t outLeft() const { return portIndex(PortKind::kAudioOut, 0); }
    uint32_t outRight() const { return portIndex(PortKind::kAudioOut, 1); }
    uint32_t midiIn() const { return portIndex(PortKind::kMidiIn); }
    uint32_t count() const { return kPortCount; }
};

} // namespace TessalineLv2
