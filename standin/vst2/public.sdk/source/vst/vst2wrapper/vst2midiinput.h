// MIDI from a VST2 host, turned into what a VST3 host would send: notes and polyphonic pressure
// as note events; controllers, pitch bend and channel pressure as changes of the parameters the
// plug-in's MIDI mapping names. Events arrive before the block they belong to (effProcessEvents)
// and are handed out piece by piece while the block is processed.
#pragma once

#include "public.sdk/source/vst/vst2wrapper/vst2parametercache.h"

#include "HostEventList.h"
#include "HostParameterChanges.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "vst2abi/Vst2Events.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2MidiInput
{
public:
    // [main thread] capacity: events kept for one block; more are dropped.
    explicit Vst2MidiInput(int32 capacity = 512);

    // [main thread] Asks the mapping once for the parameter of every controller number
    // (0 .. 127, channel pressure and pitch bend). Without a mapping nothing is mapped.
    void mapControllers(IMidiMapping* mapping);

    // [audio thread] Converts the host's events. Controller values also go to cache, marked for
    // the controller (the processor gets them at their sample position instead).
    void addEvents(const Vst2::VstEvents& events, Vst2ParameterCache& cache);
    // [audio thread] Hands the events of the piece [start, start + length) (with `last`, every
    // later one too) to the lists, with offsets made relative to start; a parameter's value
    // arriving last is the last point of its queue.
    void deliver(int32 start, int32 length, bool last, TessalineHost::HostEventList& events,
                 TessalineHost::HostParameterChanges& changes) const;
    void clear() { count = 0; }

private:
    struct Pending
    {
        int32 offset;
        bool isNote;
        Event event; // a note event
        ParamID id;  // or a parameter change
        double value;
    };
    void addMidi(const Vst2::VstMidiEvent& midi, Vst2ParameterCache& cache);
    void addChange(int32 offset, int32 controller, double value, Vst2ParameterCache& cache);
    void addNote(int32 offset, const Event& event);

    static constexpr int32 kControllers = kPitchBend + 1;
    ParamID controllerParam[kControllers];
    bool controllerMapped[kControllers]{};
    std::vector<Pending> pending;
    int32 count = 0;
};

} // namespace Vst
} // namespace Steinberg
