// process allocates nothing and takes no lock: global operator new/delete and the mutex entry
// points of this executable count what happens while a flag is set.
#include "RealtimeRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <new>
#include <pthread.h>

namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};
std::atomic<long> g_locks{0};

void* countedAlloc(std::size_t size)
{
    if (g_counting.load(std::memory_order_relaxed))
        g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return countedAlloc(size); }
void* operator new[](std::size_t size) { return countedAlloc(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try { return countedAlloc(size); } catch (...) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try { return countedAlloc(size); } catch (...) { return nullptr; }
}
namespace {
void countedFree(void* p)
{
    if (p && g_counting.load(std::memory_order_relaxed))
        g_allocations.fetch_add(1, std::memory_order_relaxed);
    std::free(p);
}
} // namespace

void operator delete(void* p) noexcept { countedFree(p); }
void operator delete[](void* p) noexcept { countedFree(p); }
void operator delete(void* p, std::size_t) noexcept { countedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { countedFree(p); }

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex)
{
    using Lock = int (*)(pthread_mutex_t*);
    static Lock next = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (g_counting.load(std::memory_order_relaxed))
        g_locks.fetch_add(1, std::memory_order_relaxed);
    return next(mutex);
}

using namespace AdapterTest;

TEST(Realtime, ProcessAllocatesNothingAndTakesNoLock)
{
    for (int32 block : {1, 64, 256, 1024})
    {
        RealtimeRig rig;
        // A restored state and a preset waiting for the audio thread ride along.
        auto state = Steinberg::owned(new Steinberg::MemoryStream);
        ASSERT_EQ(rig.processor->getState(state), kResultOk);
        state->seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
        for (uint32_t n = 0; n < 200; ++n)
        {
            rig.fillBlock(n, block);
            if (n % 40 == 0)
            {
                state->seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
                ASSERT_EQ(rig.processor->setState(state), kResultOk);
                ASSERT_EQ(rig.processor->setParamNormalized(kParamFactoryPresets, (n / 40) % 2), kResultOk);
            }
            g_allocations = 0;
            g_locks = 0;
            g_counting = true;
            const tresult result = rig.process(block, n % 3 != 2);
            const tresult flush = rig.process(0);
            g_counting = false;
            ASSERT_EQ(result, kResultOk);
            ASSERT_EQ(flush, kResultOk);
            ASSERT_EQ(g_allocations.load(), 0) << "block " << block << " call " << n;
            ASSERT_EQ(g_locks.load(), 0) << "block " << block << " call " << n;
        }
    }
}

TEST(Realtime, CountersSeeAllocationsAndLocks)
{
    // The instruments themselves work: otherwise the test above proves nothing.
    g_allocations = 0;
    g_locks = 0;
    g_counting = true;
    auto* p = new int(3);
    delete p;
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&mutex);
    pthread_mutex_unlock(&mutex);
    g_counting = false;
    EXPECT_EQ(g_allocations.load(), 2);
    EXPECT_EQ(g_locks.load(), 1);
}
