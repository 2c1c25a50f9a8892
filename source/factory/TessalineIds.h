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

// The rate-true room's class id, D7A1E3C4-5B2F4E08-9C61A2F3-04B8E6D5, in the same byte order.
// VST2 offers only the class above.
constexpr uint8_t kAnyRateCid[16] = {
    0xC4, 0xE3, 0xA1, 0xD7, // 0xD7A1E3C4
    0x08, 0x4E, 0x2F, 0x5B, // 0x5B2F 4E08
    0x9C, 0x61, 0xA2, 0xF3, // 0x9C61A2F3
    0x04, 0xB8, 0xE6, 0xD5, // 0x04B8E6D5
};

// Unique id handed to the VST2 wrapper.
constexpr int32_t kVst2UniqueId = 0x56255F0C;

} // namespace Tessaline
