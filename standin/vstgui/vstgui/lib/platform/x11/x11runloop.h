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

// The run loop in use (set by the open editor, reference counted by nesting).
class RunLoop
{
public:
    static void init(IRunLoop* runLoop);
    static void exit(IRunLoop* runLoop);
    static IRunLoop* get();
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
