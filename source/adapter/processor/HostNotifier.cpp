#include "adapter/processor/HostNotifier.h"

#include <algorithm>
#include <utility>

namespace Steinberg {

// The SDK subset declares the Linux run-loop interface ids but defines them nowhere; weak, so
// that a library defining them as well wins without a duplicate definition.
namespace Linux {
__attribute__((weak)) DEF_CLASS_IID(IRunLoop) __attribute__((weak)) DEF_CLASS_IID(ITimerHandler)
} // namespace Linux

namespace Vst {
namespace Vava2DUZ3 {

CHostNotifier::~CHostNotifier() { detachRunLoop(); }

void CHostNotifier::adoptCurrentThread() { m_UiThread = std::this_thread::get_id(); }

bool CHostNotifier::onUiThread() const { return std::this_thread::get_id() == m_UiThread; }

void CHostNotifier::setComponentHandler(IComponentHandler* handler) { m_pHandler = handler; }

void CHostNotifier::setBeforeDelivery(std::function<void()> prepare)
{
    m_BeforeDelivery = std::move(prepare);
}

void CHostNotifier::postRestart(int32 flags) { m_nRestartFlags.fetch_or(flags, std::memory_order_acq_rel); }

void CHostNotifier::setValueReader(std::function<ParamValue(ParamID)> read) { m_ReadValue = std::move(read); }

void CHostNotifier::postEdit(ParamID id)
{
    if (std::find(m_Edits.begin(), m_Edits.end(), id) == m_Edits.end())
        m_Edits.push_back(id);
}

void CHostNotifier::deliverEdits(IComponentHandler& handler)
{
    std::vector<ParamID> edits;
    edits.swap(m_Edits);
    for (const ParamID id : edits)
    {
        // The value as it is now: an edit made after the posting wins.
        const ParamValue value = m_ReadValue ? m_ReadValue(id) : 0.0;
        handler.beginEdit(id);
        handler.performEdit(id, value);
        handler.endEdit(id);
    }
}

void CHostNotifier::deliverPending()
{
    if (!onUiThread() || m_nBusy > 0 || m_bDelivering)
        return;
    m_bDelivering = true;
    if (m_BeforeDelivery)
        m_BeforeDelivery();
    // Nothing is taken while no handler can receive it: it waits for the next delivery.
    if (IPtr<IComponentHandler> handler = m_pHandler)
    {
        deliverEdits(*handler);
        if (const int32 flags = m_nRestartFlags.exchange(0, std::memory_order_acq_rel))
            handler->restartComponent(flags);
    }
    m_bDelivering = false;
}

void CHostNotifier::deliverEditsWithinCall()
{
    if (!onUiThread() || m_pRunLoop || m_bDelivering || m_Edits.empty())
        return;
    IPtr<IComponentHandler> handler = m_pHandler;
    if (!handler)
        return;
    m_bDelivering = true;
    deliverEdits(*handler);
    m_bDelivering = false;
}

CHostNotifier::Busy::Busy(CHostNotifier& notifier)
    : m_Notifier(notifier)
    , m_bCounted(notifier.onUiThread())
{
    if (m_bCounted)
        ++m_Notifier.m_nBusy;
}

CHostNotifier::Busy::~Busy()
{
    if (m_bCounted)
        --m_Notifier.m_nBusy;
}

bool CHostNotifier::attachRunLoop(FUnknown* source)
{
    if (m_pRunLoop)
        return true;
    if (!source)
        return false;
    Linux::IRunLoop* loop = nullptr;
    if (source->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&loop)) != kResultOk || !loop)
        return false;
    IPtr<Linux::IRunLoop> held = owned(loop);
    if (held->registerTimer(this, kTimerMilliseconds) != kResultOk)
        return false;
    m_pRunLoop = held;
    m_pRunLoopSource = source;
    return true;
}

void CHostNotifier::detachRunLoop(FUnknown* source)
{
    if (!m_pRunLoop || (source && source != m_pRunLoopSource))
        return;
    m_pRunLoop->unregisterTimer(this);
    m_pRunLoop = nullptr;
    m_pRunLoopSource = nullptr;
}

void PLUGIN_API CHostNotifier::onTimer() { deliverPending(); }

tresult PLUGIN_API CHostNotifier::queryInterface(const TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Linux::ITimerHandler)
    QUERY_INTERFACE(iid, obj, Linux::ITimerHandler::iid, Linux::ITimerHandler)
    *obj = nullptr;
    return kNoInterface;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
