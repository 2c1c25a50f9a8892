// The block's host event list offered to the DSP object by sample offset.
#pragma once

#include "core/CPlugIn.h"
#include "core/IMidiEventList.h"
#include "pluginterfaces/vst/ivstevents.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CVSTMidiEventList : public IMidiEventList
{
public:
    explicit CVSTMidiEventList(CPlugIn* plugIn)
        : m_pPlugIn(plugIn)
    {}

    // [audio thread] Binds the block's list (or none) and rewinds; process clears it at the end
    // so that no host pointer outlives the block.
    void setHostList(IEventList* events)
    {
        m_pEvents = events;
        m_nEventIndex = 0;
    }
    IEventList* hostList() const { return m_pEvents; }

    int32_t getEventCount() override;
    // Delivers the event at the cursor and every directly following one with the same offset.
    bool fireMidiEvents(uint32_t sampleOffset) override;

private:
    CPlugIn* m_pPlugIn;
    IEventList* m_pEvents = nullptr;
    int32 m_nEventIndex = 0;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
