// What the core class asks of a block's MIDI events, whatever plug-in format delivered them.
#pragma once
#include <cstdint>

// The block's MIDI events by sample offset. [audio thread] all operations.
class IMidiEventList
{
public:
    virtual ~IMidiEventList() = default;
    virtual int32_t getEventCount() = 0;
    // Delivers every event due at sampleOffset; true when a note event was met.
    virtual bool fireMidiEvents(uint32_t sampleOffset) = 0;
};
