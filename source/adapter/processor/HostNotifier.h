// Notifications for the host's component handler (restartComponent, performEdit) that arise
// while the host is calling into the plug-in. Calling the handler back from inside such a call
// deadlocks a host that holds a lock across its call and takes it again in its handler, so
// notifications are only posted there and delivered later, exactly once, on the host's
// user-interface thread: from a timer on the host's run loop when the host offers one (through
// its context or the editor's plug-in frame), else at the next host call that allows it, and by
// the editor's own timer while an editor is open.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <atomic>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CHostNotifier : public Linux::ITimerHandler
{
public:
    static constexpr Linux::TimerInterval kTimerMilliseconds = 50;

    CHostNotifier() = default;
    ~CHostNotifier();
    CHostNotifier(const CHostNotifier&) = delete;
    CHostNotifier& operator=(const CHostNotifier&) = delete;

    // [user-interface thread] The calling thread becomes the one that delivers.
    void adoptCurrentThread();
    // [any thread]
    bool onUiThread() const;
    // [user-interface thread] The handler notifications go to (none: they wait).
    void setComponentHandler(IComponentHandler* handler);
    // [user-interface thread] Runs first in every delivery, e.g. to bring the parameters in step
    // with a change the audio thread made; it may post further notifications.
    void setBeforeDelivery(std::function<void()> prepare);

    // [any thread, wait-free] Asks for restartComponent with these flags (merged until delivered).
    void postRestart(int32 flags);
    // [user-interface thread] An edit the host must learn of; the last value per parameter wins.
    void postEdit(ParamID id, ParamValue value);

    // [user-interface thread] Delivers everything posted so far, each notification once. Does
    // nothing on another thread, while a host call that forbids delivery is running, or when
    // called again from inside the host's handler.
    void deliverPending();

    // [user-interface thread] While one lives, delivery waits (a host call is running).
    class Busy
    {
    public:
        explicit Busy(CHostNotifier& notifier);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        CHostNotifier& m_Notifier;
        bool m_bCounted;
    };

    // [user-interface thread] Looks for the host's run loop in `source` (the host context given to
    // initialize, or the editor's plug-in frame) and delivers from a timer on it. The first run
    // loop found is kept; true when a timer runs.
    bool attachRunLoop(FUnknown* source);
    // [user-interface thread] Stops the timer if its run loop came from `source` (an editor's
    // frame going away), or whatever its source when `source` is null.
    void detachRunLoop(FUnknown* source = nullptr);
    bool hasRunLoop() const { return m_pRunLoop != nullptr; }

    // --- ITimerHandler ---
    void PLUGIN_API onTimer() SMTG_OVERRIDE;
    // --- FUnknown: owned by the Processor; the run loop's references do not keep it alive. ---
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::atomic<int32> m_nRestartFlags{0};
    std::vector<std::pair<ParamID, ParamValue>> m_Edits; // user-interface thread only
    IPtr<IComponentHandler> m_pHandler;
    IPtr<Linux::IRunLoop> m_pRunLoop;
    const FUnknown* m_pRunLoopSource = nullptr; // compared only, never called
    std::function<void()> m_BeforeDelivery;
    std::thread::id m_UiThread;
    int m_nBusy = 0; // host calls running, deliveries in progress
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
