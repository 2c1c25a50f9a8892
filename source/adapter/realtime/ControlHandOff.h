// Wait-free hand-off of main-thread control changes to the audio thread: a triple buffer of
// snapshots. The main thread edits a draft and publishes it; the audio thread takes the newest
// published snapshot at the start of a block and reports, once its values are visible in the
// mirror, that it has applied it. Neither side ever waits for the other or allocates.
#pragma once

#include "adapter/realtime/ControlSnapshot.h"

#include <atomic>
#include <cstdint>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CControlHandOff
{
public:
    // [main thread, not processing] Storage for a control list of `controls` entries.
    void allocate(uint32_t controls);

    // [main thread] The draft of the next snapshot. It starts empty unless a published one has
    // not been applied yet: then the new change is merged over it, so nothing is lost when two
    // changes arrive between blocks.
    CControlSnapshot& beginDraft();
    CControlSnapshot& draft() { return m_Draft; }
    const CControlSnapshot& draft() const { return m_Draft; }
    // [main thread] Publishes the draft (copied, no allocation).
    void publish();
    // [main thread] A published snapshot has not been applied yet; draft() then holds its values.
    bool hasUnapplied() const;
    // [main thread] Forgets the draft after it was applied directly (not processing).
    void discardDraft();

    // [audio thread, or main thread while not processing] The newest published snapshot, or
    // null when nothing new arrived. Valid until the next take().
    const CControlSnapshot* take();
    // [same thread as take] The values of the snapshot with this sequence are now visible.
    void markApplied(uint64_t sequence);

private:
    static constexpr uint32_t kDirty = 4; // bit beside the slot index 0 .. 2

    CControlSnapshot m_Slots[3];
    CControlSnapshot m_Draft;
    uint32_t m_uBack = 0;               // main thread's slot
    uint32_t m_uFront = 1;              // audio thread's slot
    std::atomic<uint32_t> m_uMiddle{2}; // slot index | kDirty
    uint64_t m_uPublished = 0;          // main thread only
    std::atomic<uint64_t> m_uApplied{0};
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
