// Notifications for the host's component handler (restartComponent, performEdit) that arise
// while the host is calling into the plug-in. Calling the handler back from inside such a call
// deadlocks a host that holds a lock across its call and takes it again in its handler, so
// notifications are posted there and delivered later, exactly once, on the host's
// user-interface thread: from a timer on the host's run loop when the host offers one (through
// its context or the editor's plug-in frame) and by the editor's own timer while an editor is
// open. Never from inside another host call (a saved state, a parameter query).
//
// A delivered edit carries the parameter's value at delivery, never the one it had when it was
// posted: a later change always wins. A host that offers no run loop has no later moment, so a
// change it made through the controller (a program chosen) is reported within its call, as one
// begin/perform/end edit per changed parameter; a restart is never called within a host call.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <atomic>
#include <functional>
#include <thread>
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
    // [user-interface thread] Reads a parameter's current normalized value for a delivered edit.
    void setValueReader(std::function<ParamValue(ParamID)> read);

    // [any thread, wait-free] Asks for restartComponent with these flags (merged until delivered).
    void postRestart(int32 flags);
    // [user-interface thread] A parameter whose value the host must learn; posted once however
    // often it changes before delivery.
    void postEdit(ParamID id);

    // [user-interface thread] Delivers everything posted so far, each notification once. Does
    // nothing on another thread, while a host call is running, or when called again from inside
    // the host's handler.
    void deliverPending();
    // [user-interface thread, inside the host call that made the change] Delivers the posted
    // edits now when no run loop will deliver them later; restarts stay posted.
    void deliverEditsWithinCall();

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
    std::vector<ParamID> m_Edits; // user-interface thread only
    IPtr<IComponentHandler> m_pHandler;
    IPtr<Linux::IRunLoop> m_pRunLoop;
    const FUnknown* m_pRunLoopSource = nullptr; // compared only, never called
    std::function<void()> m_BeforeDelivery;
    std::function<ParamValue(ParamID)> m_ReadValue;
    std::thread::id m_UiThread;
    int m_nBusy = 0;            // host calls running
    bool m_bDelivering = false; // the handler is being called: no delivery from inside it
    void deliverEdits(IComponentHandler& handler);
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
