// The toolkit's run loop for an LV2 UI: no thread and no host loop, only the host's idle calls.
// Each idle() polls the registered descriptors without waiting and fires the timers that are due.
#pragma once

#include "vstgui/lib/platform/x11/x11runloop.h"

#include <chrono>
#include <map>

namespace TessalineLv2 {

class IdleRunLoop : public VSTGUI::X11::IRunLoop
{
public:
    uint64_t registerEventHandler(int fd, EventCallback callback) override;
    bool unregisterEventHandler(uint64_t handle) override;
    uint64_t registerTimer(uint64_t intervalMs, TimerCallback callback) override;
    bool unregisterTimer(uint64_t handle) override;

    // [UI thread] One round: readable descriptors, then due timers.
    void idle();
    size_t registrationCount() const { return m_Handlers.size() + m_Timers.size(); }

private:
    struct Handler
    {
        int fd;
        EventCallback callback;
    };
    struct Timer
    {
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point next;
        TimerCallback callback;
    };
    uint64_t m_uNext = 1;
    std::map<uint64_t, Handler> m_Handlers;
    std::map<uint64_t, Timer> m_Timers;
};

} // namespace TessalineLv2
