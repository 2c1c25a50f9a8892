// The product's fixed identities. Hosts and stored projects find the plug-in by these values:
// they never change between versions.
#pragma once

#include <cstdint>

namespace Tessaline {

// Processor class id, in the usual FUID notation 32BB6666-CAE3F011-717E038A-7C52044B, as the
// 16 bytes a host receives, in the COM-compatible order of the Windows SDK: first word
// little-endian, second word as two little-endian halves, last two words big-endian.
constexpr uint8_t kProcessorCid[16] = {
    0x66, 0x66, 0xBB, 0x32, // 0x32BB6666
    0xE3, 0xCA, 0x11, 0xF0, // 0xCAE3 F011
    0x71, 0x7E, 0x03, 0x8A, // 0x717E038A
    0x7C, 0x52, 0x04, 0x4B, // 0x7C52044B
};

// Unique id handed to the VST2 wrapper.
constexpr int32_t kVst2UniqueId = 0x56255F0C;

} // namespace Tessaline
