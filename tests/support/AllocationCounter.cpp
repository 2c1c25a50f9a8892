// The replaced allocation functions and the interposed mutex lock behind AllocationCounter.h.
#include "support/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <new>
#include <pthread.h>

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocatorCalls{0};
std::atomic<long> g_locks{0};

void count()
{
    if (g_counting.load(std::memory_order_relaxed))
        g_allocatorCalls.fetch_add(1, std::memory_order_relaxed);
}

void* countedAlloc(std::size_t size)
{
    count();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* countedAlignedAlloc(std::size_t size, std::align_val_t alignment)
{
    count();
    const std::size_t a = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a size that is a multiple of the alignment.
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a))
        return p;
    throw std::bad_alloc();
}

void countedFree(void* p)
{
    if (p)
        count();
    std::free(p);
}

} // namespace

namespace TestSupport {

void startCounting()
{
    g_allocatorCalls = 0;
    g_locks = 0;
    g_counting = true;
}

void stopCounting() { g_counting = false; }
long allocatorCalls() { return g_allocatorCalls.load(); }
long lockCalls() { return g_locks.load(); }

} // namespace TestSupport

void* operator new(std::size_t size) { return countedAlloc(size); }
void* operator new[](std::size_t size) { return countedAlloc(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return countedAlloc(size);
    }
    catch (...)
    {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(std::size_t size, std::align_val_t alignment)
{
    return countedAlignedAlloc(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return countedAlignedAlloc(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    try
    {
        return countedAlignedAlloc(size, alignment);
    }
    catch (...)
    {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t& tag) noexcept
{
    return operator new(size, alignment, tag);
}

void operator delete(void* p) noexcept { countedFree(p); }
void operator delete[](void* p) noexcept { countedFree(p); }
void operator delete(void* p, std::size_t) noexcept { countedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { countedFree(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { countedFree(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { countedFree(p); }
void operator delete(void* p, std::align_val_t) noexcept { countedFree(p); }
void operator delete[](void* p, std::align_val_t) noexcept { countedFree(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { countedFree(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { countedFree(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { countedFree(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { countedFree(p); }

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex)
{
    using Lock = int (*)(pthread_mutex_t*);
    static Lock next = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (g_counting.load(std::memory_order_relaxed))
        g_locks.fetch_add(1, std::memory_order_relaxed);
    return next(mutex);
}
