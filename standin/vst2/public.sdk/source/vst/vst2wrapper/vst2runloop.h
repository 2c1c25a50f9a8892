// The run loop an editor asks its frame for on Linux. A VST2 host has none to offer, so this one
// runs from the host's editor idle calls: each tick looks (without waiting) at the registered
// file descriptors, typically the editor's own X connection, and fires the timers that are due.
#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2RunLoop : public Linux::IRunLoop
{
public:
    using Clock = std::chrono::steady_clock;

    static bool isRunLoopIid(const TUID iid);

    // [main thread] One pass: handlers of readable descriptors, then due timers. `now` is for tests.
    void tick(Clock::time_point now = Clock::now());
    // Drops every registration (the editor closed).
    void clear();
    size_t handlerCount() const { return handlers.size(); }
    size_t timerCount() const { return timers.size(); }

    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler,
                                            Linux::FileDescriptor fd) SMTG_OVERRIDE;
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) SMTG_OVERRIDE;
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler,
                                     Linux::TimerInterval milliseconds) SMTG_OVERRIDE;
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) SMTG_OVERRIDE;

    // Lives inside its owner (the editor frame): no reference counting.
    tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    struct Handler
    {
        IPtr<Linux::IEventHandler> handler;
        Linux::FileDescriptor fd;
    };
    struct Timer
    {
        IPtr<Linux::ITimerHandler> handler;
        Clock::duration interval;
        Clock::time_point due;
    };
    std::vector<Handler> handlers;
    std::vector<Timer> timers;
};

} // namespace Vst
} // namespace Steinberg
