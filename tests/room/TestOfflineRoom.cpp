// The room as a host renders it (m_bOffline: large partitions while the response rests, the
// real-time stages while a change is taken up) against the same room playing in real time, frame
// by frame over noise with quiet stretches: the outputs stay within -120 dB of each other
// (largest difference at most 1e-6 of the real-time peak) across still stretches, changes of
// every control, changes the moment the ears have settled and long after, controls moving at
// random frames, a bypass that empties the room, and a mono output; and the render allocates and
// locks nothing once prepared. Which rooms render so.
#include "room/COfflineRoom.h"
#include "room/CTessaline.h"
#include "room/BankRate.h"
#include "room/CTessalineAnyRate.h"

#include "support/AllocationCounter.h"
#include "support/Noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 48000;

struct ControlMove
{
    uint32_t id;
    float low, high;
};

// Every one of the eleven controls over its range (list controls over their entries).
const ControlMove kMoves[] = {
    {CTessaline::kPosition, 0.0f, 10.0f}, {CTessaline::kVolLR, 0.0f, 1.0f},
    {CTessaline::kAbsLR, 0.5f, 14.0f},    {CTessaline::kVolFB, 0.0f, 1.0f},
    {CTessaline::kAbsFB, 0.5f, 14.0f},    {CTessaline::kVolCF, 0.0f, 1.0f},
    {CTessaline::kAbsCF, 0.5f, 14.0f},    {CTessaline::kDecayType, 0.0f, 1.0f},
    {CTessaline::kGain, 0.2f, 1.0f},      {CTessaline::kStereoMono, 0.0f, 1.0f},
    {CTessaline::kLeftRight, 0.0f, 1.0f},
};

// How a case moves the controls; frames are counted from the start of the render.
struct Scenario
{
    const char* name;
    long frames;
    // Moves: at these frames (each the next control of kMoves)...
    std::vector<long> at;
    // ... and, when positive, the first two times the left ear has played this many frames in
    // large partitions since it last went there (a change the moment it settled, or long after).
    long afterSettling;
    // Moves at random frames: on average one per this many frames (0: none), in bursts.
    long randomEvery;
    // The room is bypassed (emptied, not run) over [bypassFrom, bypassFrom + 12000) when >= 0.
    long bypassFrom;
    // Frames before this one run with one output channel (only the left ear plays).
    long monoUntil;
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

// An ear that left the large partitions for a change returns after settling and a long rest.
constexpr long kReturn = COfflineRoom::kRestBeforeReturn + 2 * kRate;

const Scenario kScenarios[] = {
    {"StillRoom", 5 * kRate, {}, 0, 0, -1, 0},
    {"ChangesFarApart",
     2 * kRate + 2 * kReturn,
     {2 * kRate, 2 * kRate + 1, 2 * kRate + kReturn},
     0,
     0,
     -1,
     0},
    // Right after settling the stages are fed what they missed; long after, they forget and
    // skip to the last samples they must hear (each stage's memory lies between these).
    {"ChangeOneFrameAfterSettling", 2 * kReturn, {}, 1, 0, -1, 0},
    {"ChangeAHundredFramesAfterSettling", 2 * kReturn, {}, 100, 0, -1, 0},
    {"ChangeBetweenTheStagesMemories", 2 * kReturn, {}, 20000, 0, -1, 0},
    {"ChangeLongAfterSettling", 2 * kReturn + 2 * kRate, {}, 90000, 0, -1, 0},
    {"RandomMoves", 6 * kReturn, {}, 0, 3 * kReturn / 2, -1, 0},
    {"BypassWhileRendering", 7 * kRate, {}, 0, 0, 3 * kRate, 0},
    {"MonoOutputThenStereo", 7 * kRate, {4 * kRate}, 0, 0, -1, 3 * kRate},
};

std::unique_ptr<CTessaline> preparedRoom(bool offline)
{
    std::unique_ptr<CTessaline> room(static_cast<CTessaline*>(createPlugIn()));
    room->m_nSampleRate = kRate;
    room->m_bOffline = offline;
    room->postConstruct();
    room->prepare();
    return room;
}

class OfflineRender : public ::testing::TestWithParam<Scenario>
{};

TEST_P(OfflineRender, StaysWithin120DecibelsOfTheRealTimeRoom)
{
    const Scenario& s = GetParam();
    const auto offline = preparedRoom(true);
    const auto realTime = preparedRoom(false);
    ASSERT_NE(offline->offlineRoom(), nullptr);
    ASSERT_EQ(realTime->offlineRoom(), nullptr);

    uint32_t noiseSeed = 3, moveSeed = 11;
    std::size_t nextMove = 0, nextAt = 0;
    long offlineRun = 0, offlineFrames = 0, burst = 0, settledMoves = 0, entries = 0;
    double worst = 0.0, peak = 0.0;
    auto move = [&] {
        const ControlMove& m = kMoves[nextMove++ % std::size(kMoves)];
        const float u = 0.5f * (TestSupport::lcgNoise(moveSeed) + 1.0f);
        float value = m.low + u * (m.high - m.low);
        if (m.id == CTessaline::kPosition || m.id >= CTessaline::kDecayType)
            value = std::round(value);
        offline->setControlPlain(m.id, value);
        realTime->setControlPlain(m.id, value);
    };

    TestSupport::startCounting();
    for (long n = 0; n < s.frames; ++n)
    {
        while (nextAt < s.at.size() && s.at[nextAt] == n)
        {
            move();
            ++nextAt;
        }
        if (s.afterSettling > 0 && offlineRun == s.afterSettling && settledMoves < 2)
        {
            move();
            ++settledMoves;
        }
        if (s.randomEvery > 0)
        {
            // A burst of moves a few frames apart now and then, else long pauses.
            const float u = 0.5f * (TestSupport::lcgNoise(moveSeed) + 1.0f);
            if (burst > 0 || u < 1.0f / static_cast<float>(s.randomEvery))
            {
                if (burst == 0)
                    burst = 1 + static_cast<long>(u * 1e6f) % 40;
                if (n % 7 == 0)
                {
                    move();
                    --burst;
                }
            }
        }
        if (s.bypassFrom >= 0 && n >= s.bypassFrom && n < s.bypassFrom + 12000)
        {
            // As the adapter bypasses: the room emptied, its frames not run.
            if (n == s.bypassFrom)
            {
                offline->forgetSignal(0);
                realTime->forgetSignal(0);
            }
            continue;
        }
        const bool quiet = (n / (kRate / 2)) % 4 == 3;
        const float in[2] = {quiet ? 0.0f : 0.5f * TestSupport::lcgNoise(noiseSeed),
                             quiet ? 0.0f : 0.5f * TestSupport::lcgNoise(noiseSeed)};
        const uint32_t outs = n < s.monoUntil ? 1 : 2;
        float a[2] = {0.0f, 0.0f}, b[2] = {0.0f, 0.0f};
        ASSERT_TRUE(offline->processFrame(in, a, 2, outs));
        ASSERT_TRUE(realTime->processFrame(in, b, 2, outs));
        for (uint32_t c = 0; c < outs; ++c)
        {
            worst = std::max(worst, static_cast<double>(std::fabs(a[c] - b[c])));
            peak = std::max(peak, static_cast<double>(std::fabs(b[c])));
        }
        const bool large = offline->offlineRoom()->playsOffline(0);
        entries += large && offlineRun == 0 ? 1 : 0;
        offlineRun = large ? offlineRun + 1 : 0;
        offlineFrames += large ? 1 : 0;
    }
    TestSupport::stopCounting();

    EXPECT_EQ(TestSupport::allocatorCalls(), 0) << "the render allocated";
    EXPECT_EQ(TestSupport::lockCalls(), 0) << "the render locked";
    ASSERT_GT(peak, 0.01);
    EXPECT_GT(offlineFrames, 0) << "the large partitions never played";
    if (s.frames >= 2 * kReturn)
    {
        EXPECT_GE(entries, 2) << "the left ear never returned to the large partitions after a change";
    }
    EXPECT_GT(worst, 0.0)
        << "the render gave the real-time output bit for bit: large partitions never played";
    RecordProperty("worst_db", std::to_string(20.0 * std::log10(worst / peak)));
    EXPECT_LE(worst, 1e-6 * peak) << "worst " << worst << " of peak " << peak << ": "
                                  << 20.0 * std::log10(worst / peak) << " dB";
}

INSTANTIATE_TEST_SUITE_P(Scenarios, OfflineRender, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& param) {
                             return std::string(param.param.name);
                         });

// A room prepared for real time after a render gets no offline arrangement, nor does the
// rate-true room where its stages are laid out otherwise than the original's; at the bank's rate
// it is the original and renders as the original does, sample for sample.
TEST(OfflineRoom, OnlyTheOriginalLayoutRendersInLargePartitions)
{
    const auto room = preparedRoom(true);
    ASSERT_NE(room->offlineRoom(), nullptr);
    room->m_bOffline = false;
    room->prepare();
    EXPECT_EQ(room->offlineRoom(), nullptr);

    struct Case
    {
        int rate;
        bool large;
    };
    for (const Case c : {Case{kRate, false}, Case{96000, false}, Case{kBankSampleRate, true}})
    {
        std::unique_ptr<CTessaline> anyRate(static_cast<CTessaline*>(createAnyRatePlugIn()));
        anyRate->m_nSampleRate = c.rate;
        anyRate->m_bOffline = true;
        anyRate->postConstruct();
        anyRate->prepare();
        EXPECT_EQ(anyRate->offlineRoom() != nullptr, c.large) << c.rate;
    }

    // At the bank's rate both classes render the same file.
    std::unique_ptr<CTessaline> original(static_cast<CTessaline*>(createPlugIn()));
    std::unique_ptr<CTessaline> anyRate(static_cast<CTessaline*>(createAnyRatePlugIn()));
    for (CTessaline* fx : {original.get(), anyRate.get()})
    {
        fx->m_nSampleRate = kBankSampleRate;
        fx->m_bOffline = true;
        fx->postConstruct();
        fx->prepare();
    }
    uint32_t seed = 4;
    for (long n = 0; n < 3L * kBankSampleRate; ++n)
    {
        const float in[2] = {0.5f * TestSupport::lcgNoise(seed), 0.5f * TestSupport::lcgNoise(seed)};
        float a[2], b[2];
        original->processFrame(in, a, 2, 2);
        anyRate->processFrame(in, b, 2, 2);
        ASSERT_TRUE(a[0] == b[0] && a[1] == b[1]) << "frame " << n;
    }
    EXPECT_TRUE(anyRate->offlineRoom()->playsOffline(0));
}

} // namespace
