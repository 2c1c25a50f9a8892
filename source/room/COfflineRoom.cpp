// The offline room: the two ears' hand-overs between the large partitions and the real-time
// stages.
#include "room/COfflineRoom.h"
#include "room/RoomConstants.h"

#include "engine/CDelayLine.h"
#include "engine/CPartitionedConvolver.h"

#include <cassert>
#include <limits>
#include <vector>

namespace {

// The largest partitions on time at the room delay: 256 for the first 4096 samples, 4096 for the
// rest. (4096 and 8192 beyond the first 8192 samples multiply less but transform more, and
// cost more on the whole: docs/performance.md.)
const std::vector<COfflineEar::Stage>& offlineStages()
{
    static const std::vector<COfflineEar::Stage> stages{{256, 16, 0}, {4096, 16, 4096}};
    return stages;
}

// Samples a stage of P partitions of c must hear to hold what it would after hearing all: its
// input ring, the block it gathers, the block before, and the output block made from them.
constexpr long stageMemory(int partitionSize, int partitions)
{
    return static_cast<long>(partitionSize) * (partitions + 3);
}

} // namespace

COfflineRoom::Ear::Ear(EarParts p)
    : parts(p)
    , engine(kRoomDelay, kResponseLength, offlineStages())
{}

COfflineRoom::COfflineRoom(EarParts left, EarParts right)
    : m_Ears{Ear(left), Ear(right)}
    , m_Response(kResponseLength)
{
    static_assert(stageMemory(kLatePartition, kLateLength / kLatePartition) < 131072,
                  "the record must hold what the late stage must hear again");
}

COfflineRoom::~COfflineRoom() = default;

bool COfflineRoom::uses(EarParts left, EarParts right) const
{
    auto same = [](const EarParts& a, const EarParts& b) {
        return a.early == b.early && a.late == b.late && a.lateDelay == b.lateDelay;
    };
    return same(m_Ears[0].parts, left) && same(m_Ears[1].parts, right);
}

void COfflineRoom::reset()
{
    for (Ear& ear : m_Ears)
    {
        ear.engine.reset();
        ear.stagesClock = 0;
        ear.settledAt = -1;
        ear.restBeforeReturn = 0;
        ear.offline = false;
        ear.responseCurrent = false;
    }
}

void COfflineRoom::forget()
{
    // The real-time parts forgot theirs: zeros heard since they last played, as the records
    // now say. An ear on the large partitions goes on there from silence.
    for (Ear& ear : m_Ears)
        ear.engine.forget();
}

void COfflineRoom::beforeResponseChange()
{
    for (Ear& ear : m_Ears)
        if (ear.offline)
            toRealTime(ear);
}

// The ear on the real-time stages: exactly CTessaline's ear, with the sample recorded; once both
// stages have settled, on to the large partitions.
float COfflineRoom::processOnStages(Ear& ear, float input, float gain)
{
    const double x = roomInputSample(input);
    CPartitionedConvolver& early = *ear.parts.early;
    CPartitionedConvolver& late = *ear.parts.late;
    if (early.responseSettled() && late.responseSettled())
    {
        // A stage counts as settled at the block end that stores the last renewed partition,
        // but the block it then plays still overlaps the tail of a sum made before, and the
        // aligning delay still holds what the late stage played before that: one late block
        // and the delay more (the early stage settled long before), and the ear plays exactly
        // the response the stages hold.
        const long now = ear.engine.clock();
        if (ear.settledAt < 0)
            ear.settledAt = now;
        if (now - ear.settledAt >= kLatePartition + kLateDelay + ear.restBeforeReturn)
        {
            toOffline(ear);
            return static_cast<float>(ear.engine.process(x)) * gain;
        }
    }
    else
    {
        ear.settledAt = -1;
        ear.responseCurrent = false;
    }
    ear.engine.record(x);
    ear.stagesClock = ear.engine.clock();
    early.processFiniteSample(x);
    late.processFiniteSample(x);
    ear.parts.lateDelay->processSample(late.output());
    return static_cast<float>(ear.parts.lateDelay->output() + early.output()) * gain;
}

// The stages have settled: what they hold is the response as it stands, so the engine takes it
// whole (unless it already has it) and catches up with the record.
void COfflineRoom::toOffline(Ear& ear)
{
    if (!ear.responseCurrent)
    {
        double* response = m_Response.get();
        ear.parts.early->shapedResponse(0, kEarlyLength, response);
        ear.parts.late->shapedResponse(kLateStart, kLateLength, response + kLateStart);
        ear.engine.setResponse(response);
        ear.responseCurrent = true;
    }
    ear.engine.catchUp();
    ear.offline = true;
}

void COfflineRoom::toRealTime(Ear& ear)
{
    bringUp(ear, *ear.parts.early, nullptr, stageMemory(kEarlyPartition, kEarlyLength / kEarlyPartition));
    bringUp(ear, *ear.parts.late, ear.parts.lateDelay,
            stageMemory(kLatePartition, kLateLength / kLatePartition));
    ear.stagesClock = ear.engine.clock();
    ear.settledAt = -1;
    ear.restBeforeReturn = kRestBeforeReturn;
    ear.offline = false;
}

// One stage (and the delay after it) from where it stopped to the ear's clock, as if it had
// heard every sample of the record.
void COfflineRoom::bringUp(Ear& ear, CPartitionedConvolver& stage, CDelayLine* delay, long memory)
{
    const long now = ear.engine.clock();
    long from = ear.stagesClock;
    if (now - from > memory)
    {
        // Nothing it holds can reach the output any more: it forgets, and the silence stands in
        // for what it missed up to the samples it must hear. The response rested meanwhile.
        assert(stage.responseSettled());
        long budget = std::numeric_limits<long>::max();
        stage.forgetSignal(budget);
        stage.skipSilence(now - memory - from);
        if (delay != nullptr)
            delay->reset(kLateDelay, 0.0, 100.0);
        from = now - memory;
    }
    for (long n = from; n < now; ++n)
    {
        stage.processFiniteSample(ear.engine.recorded(n));
        if (delay != nullptr)
            delay->processSample(stage.output());
    }
}
