// Denormal flushing during process, with the caller's flags restored afterwards.
#include "ProcessFixture.h"

#include "adapter/realtime/DenormalGuard.h"

#if defined(__x86_64__) || defined(__SSE__)
#include <xmmintrin.h>
#endif

using namespace AdapterTest;

namespace {
constexpr uint32_t kFlushBits = CScopedDenormalFlush::kFlushToZero | CScopedDenormalFlush::kDenormalsAreZero;
// The low six bits are sticky exception flags that any arithmetic may set; the rest is control.
uint32_t controlBits(uint32_t flags) { return flags & ~0x3Fu; }

class FlagRecordingDsp : public RecordingDsp
{
public:
    uint32_t flagsSeen = 0;
    bool processFrame(const float* in, float* out, uint32_t ic, uint32_t oc) override
    {
        flagsSeen = CScopedDenormalFlush::currentFlags();
        return RecordingDsp::processFrame(in, out, ic, oc);
    }
};
} // namespace

#if defined(__x86_64__) || defined(__SSE__)
TEST(DenormalGuard, FlushesInsideAndRestoresTheCallersFlagsExactly)
{
    const uint32_t original = CScopedDenormalFlush::currentFlags();
    for (uint32_t caller : {original & ~kFlushBits, original | kFlushBits,
                            (original & ~kFlushBits) | CScopedDenormalFlush::kDenormalsAreZero})
    {
        _mm_setcsr(caller);
        {
            CScopedDenormalFlush guard;
            EXPECT_EQ(CScopedDenormalFlush::currentFlags() & kFlushBits, kFlushBits);
            volatile float tiny = 1e-38f;
            volatile float product = tiny * 1e-3f; // a denormal result becomes zero
            EXPECT_EQ(product, 0.0f);
        }
        EXPECT_EQ(controlBits(CScopedDenormalFlush::currentFlags()), controlBits(caller));
    }
    _mm_setcsr(original);
}

TEST(DenormalGuard, ProcessRunsFlushedAndLeavesTheHostFlagsAlone)
{
    const uint32_t original = CScopedDenormalFlush::currentFlags();
    _mm_setcsr(original & ~kFlushBits);
    auto* dsp = new FlagRecordingDsp;
    dsp->addControl("Gain", 100, kDataFloat, 0.0f, 1.0f, 0.5f);
    ProcessRig rig(dsp);
    rig.run(8);
    EXPECT_EQ(dsp->flagsSeen & kFlushBits, kFlushBits);
    EXPECT_EQ(controlBits(CScopedDenormalFlush::currentFlags()), controlBits(original & ~kFlushBits));
    _mm_setcsr(original);
}
#endif
