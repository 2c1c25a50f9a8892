#include "adapter/realtime/CVSTMidiEventList.h"

#include "adapter/realtime/MidiEventDelivery.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

int32_t CVSTMidiEventList::getEventCount() { return m_pEvents ? m_pEvents->getEventCount() : 0; }

bool CVSTMidiEventList::fireMidiEvents(uint32_t sampleOffset)
{
    // [audio thread]
    if (!m_pEvents || !m_pPlugIn)
        return false;
    bool noteMet = false;
    const int32 count = m_pEvents->getEventCount();
    while (m_nEventIndex < count)
    {
        Event event = {};
        if (m_pEvents->getEvent(m_nEventIndex, event) != kResultOk
            || event.sampleOffset != static_cast<int32>(sampleOffset))
            break;
        noteMet = deliverMidiEvent(*m_pPlugIn, event, MidiDelivery::kNotesOnly) || noteMet;
        ++m_nEventIndex;
    }
    return noteMet;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
