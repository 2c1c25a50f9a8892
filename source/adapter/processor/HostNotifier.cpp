#include "adapter/processor/HostNotifier.h"

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

void CHostNotifier::postEdit(ParamID id, ParamValue value)
{
    for (auto& edit : m_Edits)
    {
        if (edit.first == id)
        {
            edit.second = value;
            return;
        }
    }
    m_Edits.emplace_back(id, value);
}

void CHostNotifier::deliverPending()
{
    if (!onUiThread() || m_nBusy > 0)
        return;
    ++m_nBusy;
    if (m_BeforeDelivery)
        m_BeforeDelivery();
    // Nothing is taken while no handler can receive it: it waits for the next delivery.
    if (IPtr<IComponentHandler> handler = m_pHandler)
    {
        std::vector<std::pair<ParamID, ParamValue>> edits;
        edits.swap(m_Edits);
        for (const auto& edit : edits)
        {
            handler->beginEdit(edit.first);
            handler->performEdit(edit.first, edit.second);
            handler->endEdit(edit.first);
        }
        if (const int32 flags = m_nRestartFlags.exchange(0, std::memory_order_acq_rel))
            handler->restartComponent(flags);
    }
    --m_nBusy;
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
