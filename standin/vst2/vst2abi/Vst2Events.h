// Events a VST2 host hands to effProcessEvents before the block they belong to. Every event
// starts with the same 16-byte head; its type says how to read the rest.
#pragma once

#include <cstdint>

namespace Vst2 {

enum EventType : int32_t
{
    kVstMidiType = 1,
    kVstSysExType = 6,
};

struct VstEvent
{
    int32_t type;        // EventType
    int32_t byteSize;    // size of the event behind the head
    int32_t deltaFrames; // sample offset inside the coming block
    int32_t flags;
    char data[16];
};

// Bit of VstMidiEvent::flags: the event comes from a live input, not from a sequence.
constexpr int32_t kVstMidiEventIsRealtime = 1 << 0;

struct VstMidiEvent
{
    int32_t type; // kVstMidiType
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength; // in samples, 0 when unknown
    int32_t noteOffset; // samples into the note, 0 when unknown
    char midiData[4];   // status and up to two data bytes; the fourth is zero
    char detune;        // cents, -64 .. 63
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

struct VstMidiSysexEvent
{
    int32_t type; // kVstSysExType
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t dumpBytes;
    intptr_t resvd1;
    char* sysexDump;
    intptr_t resvd2;
};

// A list of event pointers; hosts allocate it with as many entries as numEvents says (the
// declared two are only the minimum size).
struct VstEvents
{
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];

    // The entries as a pointer, for indexing past the declared two (a bounds checker rejects
    // indexing the array member itself beyond its declared size).
    VstEvent* const* entries() const { return events; }
    VstEvent** entries() { return events; }
};

} // namespace Vst2
