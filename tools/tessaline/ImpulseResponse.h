// The room's stereo impulse response for a set of room settings: exactly what the plug-in outputs
// for a unit impulse on both inputs once the settings have fully reached the room.
#pragma once

#include "RoomSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace TessalineTool {

struct ImpulseResponse
{
    int sampleRate = 0;
    std::vector<float> left; // left output, sample 0 = the impulse's frame
    std::vector<float> right;
};

// Silence the plug-in hears after the settings arrive and before the impulse: the convolution
// stages take up a changed room partition by partition, 34 late blocks of 2048 samples at the
// most, and this leaves a margin of more than a block.
constexpr int64_t kSettleFrames = 131072;

// Loads the bundle, applies the settings as a host does before playback, lets them settle and
// records `frames` output frames from the impulse on (frames <= 0: the tail the plug-in reports).
bool measureImpulseResponse(const std::string& bundlePath, const RoomSettings& room, int sampleRate,
                            int64_t frames, ImpulseResponse& response, std::string& error);

} // namespace TessalineTool
