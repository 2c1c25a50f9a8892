#include "cvstguitimer.h"

#include "platform/x11/x11runloop.h"

namespace VSTGUI {

IdStringPtr CVSTGUITimer::kMsgTimer = "timer fired";

namespace {
// A running timer's registration: the loop of the panel that started it (the current one at
// start), the opening of that loop, and the handle.
struct TimerRegistration
{
    X11::IRunLoop* runLoop;
    uint64_t opening;
    uint64_t handle;
};
} // namespace

CVSTGUITimer::CVSTGUITimer(CBaseObject* timerObject, uint32_t fireTime, bool doStart)
    : fireTime(fireTime)
    , timerObject(timerObject)
{
    if (doStart)
        start();
}

CVSTGUITimer::CVSTGUITimer(const CallbackFunc& callback, uint32_t fireTime, bool doStart)
    : fireTime(fireTime)
    , callback(callback)
{
    if (doStart)
        start();
}

CVSTGUITimer::~CVSTGUITimer() { stop(); }

bool CVSTGUITimer::start()
{
    if (running)
        return false;
    X11::IRunLoop* runLoop = X11::RunLoop::get();
    if (!runLoop)
        return false;
    const uint64_t handle = runLoop->registerTimer(fireTime, [this] { fire(); });
    if (handle == 0)
        return false;
    platformTimer = new TimerRegistration{runLoop, X11::RunLoop::openingOf(runLoop), handle};
    running = true;
    return true;
}

bool CVSTGUITimer::stop()
{
    if (!running)
        return false;
    auto* registration = static_cast<TimerRegistration*>(platformTimer);
    // A loop closed meanwhile took its registrations with it.
    if (X11::RunLoop::openingOf(registration->runLoop) == registration->opening)
        registration->runLoop->unregisterTimer(registration->handle);
    delete registration;
    platformTimer = nullptr;
    running = false;
    return true;
}

bool CVSTGUITimer::setFireTime(uint32_t newFireTime)
{
    if (fireTime == newFireTime)
        return true;
    fireTime = newFireTime;
    if (running)
    {
        stop();
        start();
    }
    return true;
}

void CVSTGUITimer::fire()
{
    // The callee may stop or drop the timer; keep it alive for the call.
    remember();
    if (callback)
        callback(this);
    else if (timerObject)
        timerObject->notify(this, kMsgTimer);
    forget();
}

} // namespace VSTGUI
