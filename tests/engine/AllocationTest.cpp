// The audio-thread operations of the engine must not allocate: every operator new of this
// executable is counted, and the count must not move while the engine runs.
#include "engine/CDelayLine.h"
#include "engine/CPartitionedConvolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <new>

namespace {
long g_allocations = 0;
}

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size > 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, std::align_val_t alignment)
{
    ++g_allocations;
    const std::size_t a = static_cast<std::size_t>(alignment);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

TEST(Allocation, ProcessingAndControlChangesAllocateNothing)
{
    CPartitionedConvolver early(0, 44100, 0, 69632, 4096, 128, 0);
    CPartitionedConvolver late(0, 44100, 1, 69632, 65536, 2048, 4096);
    CDelayLine delay(44100, 256, 0.0, 100.0);
    const long before = g_allocations;
    EXPECT_GT(before, 0);   // the counter does see the constructions

    for (CPartitionedConvolver* stage : {&early, &late}) {
        stage->reloadPosition(3, 48000);
        stage->setAllDecays(7.0, 7.0, 7.0, 48000, 1);
        stage->setVolumes(1.0, 1.0, 1.0);
    }
    delay.reset(256, 0.0, 100.0);
    double sink = 0.0;
    for (int n = 0; n < 3 * 65536; ++n) {
        const double x = (n % 97) / 97.0 - 0.5;
        early.processSample(x);
        late.processSample(x);
        delay.processSample(late.output());
        sink += early.output() + delay.output();
        if (n % 5000 == 0) {
            early.setDecayFB(n % 14, 48000, n % 2);
            late.setDecayLR(n % 13, 48000, 0);
            late.setDecayCF(3.0, 48000, 1);
            early.setVolumes(0.5, 0.2, 0.1);
            late.loadPosition(n % 11, 48000);
        }
    }
    early.resetSignal();
    late.resetSignal();
    EXPECT_EQ(g_allocations, before);
    EXPECT_TRUE(std::isfinite(sink));
}

} // namespace
