#include "hostrunloop.h"

#include "base/source/fobject.h"

namespace VSTGUI {
namespace X11 {

// The objects the host calls back; reference counted as the host expects.
class HostRunLoop::EventHandler : public Steinberg::FObject, public Steinberg::Linux::IEventHandler
{
public:
    EventHandler(IRunLoop* owner, EventCallback callback)
        : owner(owner)
        , callback(std::move(callback))
    {}
    void PLUGIN_API onFDIsSet(Steinberg::Linux::FileDescriptor fd) override
    {
        if (callback)
        {
            // Whatever the panel starts from here belongs to its own loop.
            RunLoop::Scope scope(owner);
            callback(fd);
        }
    }
    // The host may still hold us for a moment after unregistering.
    void disconnect() { callback = nullptr; }

    OBJ_METHODS(EventHandler, FObject)
    DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::Linux::IEventHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    IRunLoop* owner;
    EventCallback callback;
};

class HostRunLoop::TimerHandler : public Steinberg::FObject, public Steinberg::Linux::ITimerHandler
{
public:
    TimerHandler(IRunLoop* owner, TimerCallback callback)
        : owner(owner)
        , callback(std::move(callback))
    {}
    void PLUGIN_API onTimer() override
    {
        if (callback)
        {
            RunLoop::Scope scope(owner);
            // The callback may unregister this timer; keep ourselves alive for the call.
            addRef();
            auto copy = callback;
            copy();
            release();
        }
    }
    void disconnect() { callback = nullptr; }

    OBJ_METHODS(TimerHandler, FObject)
    DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::Linux::ITimerHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    IRunLoop* owner;
    TimerCallback callback;
};

HostRunLoop::HostRunLoop(Steinberg::Linux::IRunLoop* hostRunLoop)
    : host(hostRunLoop)
{
    if (host)
        host->addRef();
}

HostRunLoop::~HostRunLoop()
{
    while (!eventHandlers.empty())
        unregisterEventHandler(eventHandlers.begin()->first);
    while (!timers.empty())
        unregisterTimer(timers.begin()->first);
    if (host)
        host->release();
}

uint64_t HostRunLoop::registerEventHandler(int fd, EventCallback callback)
{
    if (!host)
        return 0;
    auto* handler = new EventHandler(this, std::move(callback));
    if (host->registerEventHandler(handler, fd) != Steinberg::kResultTrue)
    {
        handler->release();
        return 0;
    }
    eventHandlers[nextHandle] = handler;
    return nextHandle++;
}

bool HostRunLoop::unregisterEventHandler(uint64_t handle)
{
    auto it = eventHandlers.find(handle);
    if (it == eventHandlers.end())
        return false;
    EventHandler* handler = it->second;
    eventHandlers.erase(it);
    handler->disconnect();
    host->unregisterEventHandler(handler);
    handler->release();
    return true;
}

uint64_t HostRunLoop::registerTimer(uint64_t intervalMs, TimerCallback callback)
{
    if (!host)
        return 0;
    auto* handler = new TimerHandler(this, std::move(callback));
    if (host->registerTimer(handler, intervalMs) != Steinberg::kResultTrue)
    {
        handler->release();
        return 0;
    }
    timers[nextHandle] = handler;
    return nextHandle++;
}

bool HostRunLoop::unregisterTimer(uint64_t handle)
{
    auto it = timers.find(handle);
    if (it == timers.end())
        return false;
    TimerHandler* handler = it->second;
    timers.erase(it);
    handler->disconnect();
    host->unregisterTimer(handler);
    handler->release();
    return true;
}

} // namespace X11
} // namespace VSTGUI
