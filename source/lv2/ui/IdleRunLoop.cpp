#include "lv2/ui/IdleRunLoop.h"

#include <poll.h>

#include <vector>

namespace TessalineLv2 {

uint64_t IdleRunLoop::registerEventHandler(int fd, EventCallback callback)
{
    const uint64_t handle = m_uNext++;
    m_Handlers[handle] = {fd, std::move(callback)};
    return handle;
}

bool IdleRunLoop::unregisterEventHandler(uint64_t handle) { return m_Handlers.erase(handle) > 0; }

uint64_t IdleRunLoop::registerTimer(uint64_t intervalMs, TimerCallback callback)
{
    const uint64_t handle = m_uNext++;
    const std::chrono::milliseconds interval(intervalMs > 0 ? intervalMs : 1);
    m_Timers[handle] = {interval, std::chrono::steady_clock::now() + interval, std::move(callback)};
    return handle;
}

bool IdleRunLoop::unregisterTimer(uint64_t handle) { return m_Timers.erase(handle) > 0; }

void IdleRunLoop::idle()
{
    // What the panel starts from its events and timers belongs to this loop.
    VSTGUI::X11::RunLoop::Scope scope(this);
    // Handles are collected first: a callback may register or unregister others.
    std::vector<uint64_t> ready;
    for (const auto& [handle, handler] : m_Handlers)
    {
        pollfd p{handler.fd, POLLIN, 0};
        if (poll(&p, 1, 0) > 0)
            ready.push_back(handle);
    }
    for (uint64_t handle : ready)
        if (auto it = m_Handlers.find(handle); it != m_Handlers.end())
        {
            const int fd = it->second.fd;
            EventCallback callback = it->second.callback;
            callback(fd);
        }
    const auto now = std::chrono::steady_clock::now();
    std::vector<uint64_t> due;
    for (const auto& [handle, timer] : m_Timers)
        if (timer.next <= now)
            due.push_back(handle);
    for (uint64_t handle : due)
        if (auto it = m_Timers.find(handle); it != m_Timers.end())
        {
            it->second.next = now + it->second.interval;
            TimerCallback callback = it->second.callback;
            callback();
        }
}

} // namespace TessalineLv2
