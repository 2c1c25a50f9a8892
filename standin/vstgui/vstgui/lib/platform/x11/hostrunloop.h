// The host's Steinberg::Linux::IRunLoop behind the toolkit's X11::IRunLoop. Every handler it
// registers is unregistered again when asked or, at the latest, when the adapter goes away, so
// a removed editor leaves nothing registered with the host.
#pragma once

#include "x11runloop.h"

#include "pluginterfaces/gui/iplugview.h"

#include <map>

namespace VSTGUI {
namespace X11 {

class HostRunLoop : public IRunLoop
{
public:
    explicit HostRunLoop(Steinberg::Linux::IRunLoop* hostRunLoop);
    ~HostRunLoop() override;

    uint64_t registerEventHandler(int fd, EventCallback callback) override;
    bool unregisterEventHandler(uint64_t handle) override;
    uint64_t registerTimer(uint64_t intervalMs, TimerCallback callback) override;
    bool unregisterTimer(uint64_t handle) override;

    size_t registrationCount() const { return eventHandlers.size() + timers.size(); }

private:
    class EventHandler;
    class TimerHandler;
    Steinberg::Linux::IRunLoop* host;
    uint64_t nextHandle{1};
    std::map<uint64_t, EventHandler*> eventHandlers;
    std::map<uint64_t, TimerHandler*> timers;
};

} // namespace X11
} // namespace VSTGUI
