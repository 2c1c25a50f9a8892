// The LV2 plug-in's identity and port layout, shared by the plug-in and the generator of its
// turtle description: the room controls first, in control-list order (port k is control k),
// then the fixed ports below.
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

struct PortLayout
{
    uint32_t controls;                            // room controls: ports 0 .. controls-1
    uint32_t enabled() const { return controls; } // 1 runs the room, 0 bypasses (lv2:enabled)
    uint32_t latency() const { return controls + 1; }
    uint32_t inLeft() const { return controls + 2; }
    uint32_t inRight() const { return controls + 3; } // optional: a mono host leaves it out
    uint32_t outLeft() const { return controls + 4; }
    uint32_t outRight() const { return controls + 5; }
    uint32_t midiIn() const { return controls + 6; }
    uint32_t count() const { return controls + 7; }
};

} // namespace TessalineLv2
