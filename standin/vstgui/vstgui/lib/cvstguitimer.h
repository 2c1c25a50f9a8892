// A repeating timer run by the host's event loop (the run loop the open frame received). It
// starts no thread: without a run loop it does not fire.
#pragma once

#include "vstguibase.h"

#include <functional>

namespace VSTGUI {

class CVSTGUITimer : public CBaseObject
{
public:
    using CallbackFunc = std::function<void(CVSTGUITimer*)>;

    // Notifies timerObject with kMsgTimer on every tick.
    CVSTGUITimer(CBaseObject* timerObject, uint32_t fireTime = 100, bool doStart = false);
    CVSTGUITimer(const CallbackFunc& callback, uint32_t fireTime = 100, bool doStart = true);
    ~CVSTGUITimer() override;

    bool start();
    bool stop();
    bool isRunning() const { return running; }
    bool setFireTime(uint32_t newFireTime);
    uint32_t getFireTime() const { return fireTime; }
    // Runs one tick now (the run loop calls this).
    void fire();

    static IdStringPtr kMsgTimer;

private:
    uint32_t fireTime;
    CBaseObject* timerObject{nullptr};
    CallbackFunc callback;
    bool running{false};
    void* platformTimer{nullptr};
};

} // namespace VSTGUI
