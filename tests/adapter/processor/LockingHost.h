// A host that holds a non-recursive lock across each of its calls into the controller and takes
// it again in its component handler, as some hosts do: a handler call made from inside one of
// its calls would deadlock it. Here the lock is only tried, so such a call shows up as a counted
// failure instead of a hang. It offers a run loop whose timers fire when the test says so.
#pragma once

#include "adapter/processor/Processor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <vector>

namespace AdapterTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Reference counting for objects the test owns on its stack.
#define LOCKING_HOST_UNOWNED_REFCOUNT                                                                        \
    uint32 PLUGIN_API addRef() override { return 1; }                                                        \
    uint32 PLUGIN_API release() override { return 1; }

class TestRunLoop : public Linux::IRunLoop
{
public:
    std::vector<Linux::ITimerHandler*> timers;

    // One turn of the host's loop: every registered timer fires.
    void fire()
    {
        const auto current = timers;
        for (Linux::ITimerHandler* timer : current)
            timer->onTimer();
    }
    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler*, Linux::FileDescriptor) override
    {
        return kNotImplemented;
    }
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler*) override { return kNotImplemented; }
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval) override
    {
        timers.push_back(handler);
        return kResultOk;
    }
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override
    {
        for (auto it = timers.begin(); it != timers.end(); ++it)
            if (*it == handler)
            {
                timers.erase(it);
                return kResultOk;
            }
        return kResultFalse;
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        QUERY_INTERFACE(iid, obj, FUnknown::iid, Linux::IRunLoop)
        QUERY_INTERFACE(iid, obj, Linux::IRunLoop::iid, Linux::IRunLoop)
        *obj = nullptr;
        return kNoInterface;
    }
    LOCKING_HOST_UNOWNED_REFCOUNT
};

// A host context or plug-in frame that hands out the run loop.
class RunLoopSource : public FUnknown
{
public:
    explicit RunLoopSource(TestRunLoop& loop)
        : m_Loop(loop)
    {}
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
            return m_Loop.queryInterface(iid, obj);
        QUERY_INTERFACE(iid, obj, FUnknown::iid, FUnknown)
        *obj = nullptr;
        return kNoInterface;
    }
    LOCKING_HOST_UNOWNED_REFCOUNT

private:
    TestRunLoop& m_Loop;
};

class LockingHost : public IComponentHandler
{
public:
    explicit LockingHost(Vava2DUZ3::Processor* processor)
        : m_pProcessor(processor)
    {
        m_pProcessor->setComponentHandler(this);
    }
    ~LockingHost() { m_pProcessor->setComponentHandler(nullptr); }

    // Ardour's way: its edit handlers take no lock (only its restart handler does).
    bool editsTakeLock = true;
    int restarts = 0;
    int edits = 0;
    int reentered = 0;              // handler calls made while the host's call was running
    std::map<ParamID, double> view; // the host's copy of the parameter values

    // The host's calls into the controller, each under the lock.
    tresult setParam(ParamID id, double value)
    {
        if (!tryLock())
            return kInternalError;
        const tresult result = m_pProcessor->setParamNormalized(id, value);
        view[id] = value;
        unlock();
        return result;
    }
    template <typename Call>
    void underLock(Call call)
    {
        ASSERT_TRUE(tryLock());
        call();
        unlock();
    }

    // --- IComponentHandler: each takes the lock again, as the host does ---
    tresult PLUGIN_API beginEdit(ParamID) override { return editsTakeLock ? checkLock() : kResultOk; }
    tresult PLUGIN_API endEdit(ParamID) override { return editsTakeLock ? checkLock() : kResultOk; }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue value) override
    {
        if (editsTakeLock && checkLock() != kResultOk)
            return kResultFalse;
        ++edits;
        view[id] = value;
        return kResultOk;
    }
    tresult PLUGIN_API restartComponent(int32 flags) override
    {
        if (!tryLock())
        {
            ++reentered;
            return kResultFalse;
        }
        ++restarts;
        if (flags & kParamValuesChanged)
        {
            // Re-reads every parameter, as a host does on this request.
            for (int32 i = 0; i < m_pProcessor->getParameterCount(); ++i)
            {
                ParameterInfo info = {};
                if (m_pProcessor->getParameterInfo(i, info) == kResultOk)
                    view[info.id] = m_pProcessor->getParamNormalized(info.id);
            }
        }
        unlock();
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        QUERY_INTERFACE(iid, obj, FUnknown::iid, IComponentHandler)
        QUERY_INTERFACE(iid, obj, IComponentHandler::iid, IComponentHandler)
        *obj = nullptr;
        return kNoInterface;
    }
    LOCKING_HOST_UNOWNED_REFCOUNT

private:
    bool tryLock()
    {
        bool expected = false;
        return m_bHeld.compare_exchange_strong(expected, true);
    }
    void unlock() { m_bHeld = false; }
    tresult checkLock()
    {
        if (!tryLock())
        {
            ++reentered;
            return kResultFalse;
        }
        unlock();
        return kResultOk;
    }

    Vava2DUZ3::Processor* m_pProcessor;
    std::atomic<bool> m_bHeld{false};
};

} // namespace AdapterTest
