// The audio-thread operations of the engine must not allocate: every call into the allocator
// of this executable is counted, and the count must not move while the engine runs.
#include "engine/CDelayLine.h"
#include "engine/CPartitionedConvolver.h"
#include "support/AllocationCounter.h"
#include "support/StageFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Allocation, ProcessingAndControlChangesAllocateNothing)
{
    using namespace enginetest;
    const IResponseTables& bank = testBank();
    TestSupport::startCounting();
    CPartitionedConvolver early(bank, 0, 44100, 0, kResponseLength, kEarlyLength, kEarlyPartition, 0);
    CPartitionedConvolver late(bank, 0, 44100, 1, kResponseLength, kLateLength, kLatePartition, kLateStart);
    CDelayLine delay(44100, kLateDelay, 0.0, 100.0);
    const long before = TestSupport::allocatorCalls();
    EXPECT_GT(before, 0); // the counter does see the constructions

    for (CPartitionedConvolver* stage : {&early, &late})
    {
        stage->reloadPosition(3, 48000);
        stage->setAllDecays(7.0, 7.0, 7.0, 48000, 1);
        stage->setVolumes(1.0, 1.0, 1.0);
    }
    delay.reset(kLateDelay, 0.0, 100.0);
    double sink = 0.0;
    for (int n = 0; n < 3 * 65536; ++n)
    {
        const double x = (n % 97) / 97.0 - 0.5;
        early.processSample(x);
        late.processSample(x);
        delay.processSample(late.output());
        sink += early.output() + delay.output();
        if (n % 5000 == 0)
        {
            early.setDecayFB(n % 14, 48000, n % 2);
            late.setDecayLR(n % 13, 48000, 0);
            late.setDecayCF(3.0, 48000, 1);
            early.setVolumes(0.5, 0.2, 0.1);
            late.loadPosition(n % 11, 48000);
        }
    }
    early.resetSignal();
    late.resetSignal();
    TestSupport::stopCounting();
    EXPECT_EQ(TestSupport::allocatorCalls(), before);
    EXPECT_TRUE(std::isfinite(sink));
}

} // namespace
