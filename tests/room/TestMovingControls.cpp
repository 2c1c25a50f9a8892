// The room while its controls move: once a change has had its time (P + 3 late blocks after the
// block whose partition it first shapes), the room plays exactly what a room built with the final settings
// plays, whatever moved before and wherever in a block the last change fell.
#include "room/CTessaline.h"

#include "room/RoomConstants.h"
#include "support/CaseNames.h"
#include "support/Noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

namespace {

struct Setting
{
    uint32_t id;
    float value;
};

struct MovingCase
{
    const char* name;
    bool everyControlMoves; // every room control moves each 64 frames before the last change
    Setting last;           // the last change
    int phase;              // where in a late block the last change falls
};
inline void PrintTo(const MovingCase& c, std::ostream* os) { *os << c.name; }

class MovingControls : public ::testing::TestWithParam<MovingCase>
{};

std::unique_ptr<CTessaline> preparedRoom(const std::vector<Setting>& settings)
{
    std::unique_ptr<CTessaline> room(static_cast<CTessaline*>(createPlugIn()));
    room->postConstruct();
    for (const Setting& s : settings)
        room->setControlPlain(s.id, s.value);
    room->prepare();
    return room;
}

// A new value for every room control, a different walk each, as automation gives them.
void moveEveryControl(CTessaline& room, long step)
{
    room.setControlPlain(CTessaline::kPosition, static_cast<float>(step % 11));
    room.setControlPlain(CTessaline::kVolLR, 0.1f + 0.09f * static_cast<float>(step % 10));
    room.setControlPlain(CTessaline::kVolFB, 0.2f + 0.08f * static_cast<float>(step % 7));
    room.setControlPlain(CTessaline::kVolCF, 0.3f + 0.07f * static_cast<float>(step % 9));
    room.setControlPlain(CTessaline::kAbsLR, 0.5f + static_cast<float>(step % 13));
    room.setControlPlain(CTessaline::kAbsFB, 1.5f + static_cast<float>(step % 11));
    room.setControlPlain(CTessaline::kAbsCF, 2.5f + static_cast<float>(step % 9));
    room.setControlPlain(CTessaline::kDecayType, static_cast<float>(step % 2));
}

TEST_P(MovingControls, RoomPlaysAsOneBuiltWithTheFinalSettings)
{
    const MovingCase& k = GetParam();
    constexpr long kBlock = kLatePartition;
    constexpr long kPartitions = kLateLength / kLatePartition;
    const long changeAt = 3 * kBlock + k.phase;
    // A block reaches its partition's samples 16 at a time: a change in its last 15 frames finds
    // them all reached, and first shapes the next block's partition.
    const long firstShaped = (changeAt + 15) / 16 * 16;
    const long checkFrom = (firstShaped / kBlock + kPartitions + 3) * kBlock;
    const long frames = checkFrom + kBlock;

    // The settings the moving room ends with: the walk's last step, then the last change.
    const long steps = changeAt / 64;
    std::vector<Setting> final;
    if (k.everyControlMoves)
    {
        auto probe = preparedRoom({});
        moveEveryControl(*probe, steps - 1);
        for (uint32_t id :
             {CTessaline::kPosition, CTessaline::kVolLR, CTessaline::kVolFB, CTessaline::kVolCF,
              CTessaline::kAbsLR, CTessaline::kAbsFB, CTessaline::kAbsCF, CTessaline::kDecayType})
            final.push_back({id, probe->getControlValue(id)});
    }
    final.push_back(k.last);

    auto moving = preparedRoom({});
    auto built = preparedRoom(final);
    uint32_t seed = 5;
    double peak = 0.0, largest = 0.0;
    for (long n = 0; n < frames; ++n)
    {
        if (k.everyControlMoves && n % 64 == 17 && n / 64 < steps)
            moveEveryControl(*moving, n / 64);
        if (n == changeAt)
            moving->setControlPlain(k.last.id, k.last.value);
        const float in[2] = {TestSupport::lcgNoise(seed), TestSupport::lcgNoise(seed)};
        float a[2] = {0.0f, 0.0f}, b[2] = {0.0f, 0.0f};
        moving->processFrame(in, a, 2, 2);
        built->processFrame(in, b, 2, 2);
        if (n < checkFrom)
            continue;
        for (int ch = 0; ch < 2; ++ch)
        {
            peak = std::max(peak, static_cast<double>(std::fabs(b[ch])));
            largest = std::max(largest, static_cast<double>(std::fabs(a[ch] - b[ch])));
        }
    }
    ASSERT_GT(peak, 1e-3);
    EXPECT_LE(largest, 1e-6 * peak) << "largest difference " << largest << " at a peak of " << peak;
}

INSTANTIATE_TEST_SUITE_P(
    Changes, MovingControls,
    ::testing::Values(
        MovingCase{"PositionOnABlockBoundary", false, {CTessaline::kPosition, 7.0f}, 0},
        MovingCase{"PositionInsideABlock", false, {CTessaline::kPosition, 2.0f}, 1000},
        MovingCase{"VolLRAtTheBlocksLastFrame", false, {CTessaline::kVolLR, 0.3f}, 2047},
        MovingCase{"VolFBInsideABlock", false, {CTessaline::kVolFB, 0.4f}, 1},
        MovingCase{"VolCFOnABlockBoundary", false, {CTessaline::kVolCF, 0.6f}, 0},
        MovingCase{"AbsLRInsideABlock", false, {CTessaline::kAbsLR, 2.5f}, 64},
        MovingCase{"AbsFBAtTheBlocksLastFrame", false, {CTessaline::kAbsFB, 11.0f}, 2047},
        MovingCase{"AbsCFOnABlockBoundary", false, {CTessaline::kAbsCF, 4.5f}, 0},
        MovingCase{"DecayTypeInsideABlock", false, {CTessaline::kDecayType, 0.0f}, 1500},
        MovingCase{"AllMovingThenAbsLROnABlockBoundary", true, {CTessaline::kAbsLR, 3.0f}, 0},
        MovingCase{"AllMovingThenPositionInsideABlock", true, {CTessaline::kPosition, 9.0f}, 700},
        MovingCase{"AllMovingThenDecayTypeAtTheLastFrame", true, {CTessaline::kDecayType, 1.0f}, 2047}),
    TestSupport::caseName<MovingCase>);

} // namespace
