// The event loop the toolkit runs on: the host's Steinberg::Linux::IRunLoop seen through a small
// interface. The editor installs it while its frame is open; timers and the X connection's file
// descriptor are registered with it and with nothing else.
#pragma once

#include "../../cframe.h"

#include <cstdint>
#include <functional>

namespace VSTGUI {
namespace X11 {

class IRunLoop
{
public:
    virtual ~IRunLoop() = default;
    using EventCallback = std::function<void(int fd)>;
    using TimerCallback = std::function<void()>;
    // Each registration returns a handle (non-zero) for the matching unregister call.
    virtual uint64_t registerEventHandler(int fd, EventCallback callback) = 0;
    virtual bool unregisterEventHandler(uint64_t handle) = 0;
    virtual uint64_t registerTimer(uint64_t intervalMs, TimerCallback callback) = 0;
    virtual bool unregisterTimer(uint64_t handle) = 0;
};

// The run loops of the open editors. Each editor opens its own (init) and closes it (exit); a
// registration belongs to the loop of the panel it serves. While a panel's code runs (a host
// call into its editor, one of its timers or window events) that panel's loop is the current
// one, and get() answers it; outside of every panel, the innermost open loop.
class RunLoop
{
public:
    static void init(IRunLoop* runLoop);
    static void exit(IRunLoop* runLoop);
    static IRunLoop* get();
    // A number that names this opening of runLoop (0: not open), so that a registration can
    // tell whether the loop it was made with is still there, even when a later loop happens to
    // sit at the same address.
    static uint64_t openingOf(IRunLoop* runLoop);

    // Makes runLoop the current one for the scope's lifetime (nested scopes stack).
    class Scope
    {
    public:
        explicit Scope(IRunLoop* runLoop);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };
};

// What CFrame::open needs on X11: the loop to run the window's events on.
struct FrameConfig : IPlatformFrameConfig
{
    explicit FrameConfig(IRunLoop* runLoop = nullptr)
        : runLoop(runLoop)
    {}
    IRunLoop* runLoop;
};

} // namespace X11
} // namespace VSTGUI
