#include "public.sdk/source/vst/vst2wrapper/vst2runloop.h"

#include <algorithm>
#include <poll.h>

namespace Steinberg {
namespace Vst {

bool Vst2RunLoop::isRunLoopIid(const TUID iid)
{
    // The inline id: the FUID object IRunLoop::iid is defined by whoever hosts editors, not here.
    return FUnknownPrivate::iidEqual(iid, INLINE_UID_OF(Linux::IRunLoop));
}

tresult PLUGIN_API Vst2RunLoop::queryInterface(const TUID _iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(_iid, FUnknown::iid) || isRunLoopIid(_iid))
    {
        *obj = static_cast<Linux::IRunLoop*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API Vst2RunLoop::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (!handler || fd < 0)
        return kInvalidArgument;
    handlers.push_back({handler, fd});
    return kResultTrue;
}

tresult PLUGIN_API Vst2RunLoop::unregisterEventHandler(Linux::IEventHandler* handler)
{
    auto end = std::remove_if(handlers.begin(), handlers.end(),
                              [&](const Handler& h) { return h.handler == handler; });
    if (end == handlers.end())
        return kResultFalse;
    handlers.erase(end, handlers.end());
    return kResultTrue;
}

tresult PLUGIN_API Vst2RunLoop::registerTimer(Linux::ITimerHandler* handler,
                                              Linux::TimerInterval milliseconds)
{
    if (!handler)
        return kInvalidArgument;
    // A zero interval would fire on every tick; that is what a host's idle rate allows anyway.
    const Clock::duration interval = std::chrono::milliseconds(milliseconds);
    timers.push_back({handler, interval, Clock::now() + interval});
    return kResultTrue;
}

tresult PLUGIN_API Vst2RunLoop::unregisterTimer(Linux::ITimerHandler* handler)
{
    auto end =
        std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == handler; });
    if (end == timers.end())
        return kResultFalse;
    timers.erase(end, timers.end());
    return kResultTrue;
}

void Vst2RunLoop::tick(Clock::time_point now)
{
    // Handlers may (un)register while they run: work on copies, and skip what was removed.
    std::vector<Handler> ready = handlers;
    std::vector<pollfd> fds;
    for (const Handler& h : ready)
        fds.push_back({h.fd, POLLIN, 0});
    if (!fds.empty() && poll(fds.data(), fds.size(), 0) > 0)
    {
        for (size_t i = 0; i < ready.size(); ++i)
        {
            const bool stillRegistered = std::any_of(handlers.begin(), handlers.end(), [&](const Handler& h) {
                return h.handler == ready[i].handler;
            });
            if (stillRegistered && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                ready[i].handler->onFDIsSet(ready[i].fd);
        }
    }
    std::vector<IPtr<Linux::ITimerHandler>> due;
    for (Timer& t : timers)
    {
        if (now < t.due)
            continue;
        due.push_back(t.handler);
        t.due = now + t.interval; // a late tick fires once, not once per missed interval
    }
    for (auto& handler : due)
    {
        const bool stillRegistered =
            std::any_of(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == handler; });
        if (stillRegistered)
            handler->onTimer();
    }
}

void Vst2RunLoop::clear()
{
    handlers.clear();
    timers.clear();
}

} // namespace Vst
} // namespace Steinberg
