// The room as it renders (a host's export, the command line): each ear convolved in large
// partitions (COfflineEar) while the response rests, and by the real-time stages while a change
// of the response is taken up. Both give the same output within float rounding (the real-time
// stages are the reference; the render stays within -120 dB of them), and a hand-over loses
// nothing in either direction:
// - To the real-time stages, before a control that shapes the response moves: stages and
//   aligning delay are brought to the present from the ear's record as if they had played all
//   along. A stage that fell further behind than its memory forgets its signal, skips the
//   silence up to the last samples that still reach its output (so its block phase and the
//   partition it renews next follow from the sample count, as in real time), then hears them.
//   The change is then taken up exactly as in real time.
// - Back to the large partitions once both stages have settled (every partition renewed since
//   the change) and play only what they hold: that response is built again whole, transformed
//   in large partitions, and the engine's state rebuilt from the record.
// A hand-over costs a few milliseconds of work in one frame (rendering has no deadline); an ear
// goes back to the large partitions only after a long rest (kRestBeforeReturn), so a room whose
// controls keep moving simply stays on the real-time stages.
// No allocation, locking or system calls after construction.
#pragma once

#include "engine/AlignedArray.h"
#include "engine/COfflineEar.h"
#include "room/RoomInput.h"

#include <memory>

class CPartitionedConvolver;
class CDelayLine;

class COfflineRoom
{
public:
    // The real-time parts of one ear, owned by the room.
    struct EarParts
    {
        CPartitionedConvolver* early;
        CPartitionedConvolver* late;
        CDelayLine* lateDelay;
    };

    // [main thread] The stages must have the room's original layout (RoomConstants.h).
    COfflineRoom(EarParts left, EarParts right);
    ~COfflineRoom();

    // Whether this room was built over these parts.
    bool uses(EarParts left, EarParts right) const;

    // [main thread or audio thread] After the stages were reset: both ears start on the
    // real-time stages at clock 0, with silent records.
    void reset();
    // [audio thread] After the stages and delays forgot their signal: so do the records.
    void forget();
    // [audio thread] Before a control that shapes the response changes: ears on the large
    // partitions hand over to the real-time stages.
    void beforeResponseChange();
    // [audio thread] One ear's output for one input sample, as CTessaline's ear gives it.
    // Inline: on the large partitions most samples only pass through the ear's record.
    float processEar(int index, float input, float gain)
    {
        Ear& ear = m_Ears[index];
        if (ear.offline)
            return static_cast<float>(ear.engine.process(roomInputSample(input))) * gain;
        return processOnStages(ear, input, gain);
    }

    // Whether ear (0, 1) plays on the large partitions now (for tests).
    bool playsOffline(int ear) const { return m_Ears[ear].offline; }

    // Samples a response must rest beyond settling before an ear that left the large
    // partitions for a change goes back (about 11 s at 48 kHz). Going there and back costs
    // about as much as 10 s in large partitions save, so a room whose controls keep moving
    // stays on the real-time stages; the first time after prepare needs no such wait.
    static constexpr long kRestBeforeReturn = 1L << 19;

private:
    struct Ear
    {
        explicit Ear(EarParts p);
        EarParts parts;
        COfflineEar engine;
        long stagesClock = 0;         // samples the real-time parts have heard
        long settledAt = -1;          // clock since which both stages are settled (-1: not)
        long restBeforeReturn = 0;    // rest it waits beyond settling (kRestBeforeReturn after a change)
        bool offline = false;         // the large partitions play the ear
        bool responseCurrent = false; // the engine holds the response the stages hold
    };

    float processOnStages(Ear& ear, float input, float gain);
    void toOffline(Ear& ear);
    void toRealTime(Ear& ear);
    void bringUp(Ear& ear, CPartitionedConvolver& stage, CDelayLine* delay, long memory);

    Ear m_Ears[2];
    AlignedArray<double> m_Response; // one ear's whole response, while it is built
};
