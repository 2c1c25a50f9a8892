#include "public.sdk/source/vst/vst2wrapper/vst2parametercache.h"

#include <algorithm>
#include <cmath>

namespace Steinberg {
namespace Vst {

static_assert(std::atomic<double>::is_always_lock_free, "parameter values are shared lock-free");

void Vst2ParameterCache::build(IEditController& controller, int32 leaveOut)
{
    const int32 total = std::max<int32>(controller.getParameterCount(), 0);
    ids.clear();
    infoFlags.clear();
    stepCounts.clear();
    for (int32 k = 0; k < total; ++k)
    {
        ParameterInfo info{};
        if (controller.getParameterInfo(k, info) != kResultOk || (info.flags & leaveOut) != 0)
            continue; // a parameter the controller cannot describe is left out
        ids.push_back(info.id);
        infoFlags.push_back(info.flags);
        stepCounts.push_back(info.stepCount);
    }
    const size_t n = ids.size();
    sortedIds.clear();
    for (size_t k = 0; k < n; ++k)
        sortedIds.emplace_back(ids[k], static_cast<int32>(k));
    std::sort(sortedIds.begin(), sortedIds.end());
    values.reset(new std::atomic<double>[n]);
    processorPending.reset(new std::atomic<bool>[n]);
    controllerPending.reset(new std::atomic<bool>[n]);
    for (size_t k = 0; k < n; ++k)
    {
        processorPending[k].store(false);
        controllerPending[k].store(false);
    }
    reload(controller);
}

void Vst2ParameterCache::reload(IEditController& controller)
{
    for (size_t k = 0; k < ids.size(); ++k)
        values[k].store(controller.getParamNormalized(ids[k]), std::memory_order_relaxed);
}

int32 Vst2ParameterCache::indexOf(ParamID pid) const
{
    auto it = std::lower_bound(sortedIds.begin(), sortedIds.end(), std::make_pair(pid, int32(-1)));
    return (it != sortedIds.end() && it->first == pid) ? it->second : -1;
}

int32 Vst2ParameterCache::findFlag(int32 flagMask) const
{
    for (size_t k = 0; k < infoFlags.size(); ++k)
        if ((infoFlags[k] & flagMask) == flagMask)
            return static_cast<int32>(k);
    return -1;
}

double Vst2ParameterCache::value(int32 index) const
{
    return isValid(index) ? values[static_cast<size_t>(index)].load(std::memory_order_relaxed) : 0.0;
}

void Vst2ParameterCache::set(int32 index, double v, bool toProcessor, bool toController)
{
    if (!isValid(index) || std::isnan(v))
        return;
    const auto k = static_cast<size_t>(index);
    v = std::clamp(v, 0.0, 1.0);
    // A list or a stepped parameter holds one of its steps: the nearest, as the plug-in takes it,
    // so the host reads back the value the sound uses (as through the controller) instead of a
    // value between two.
    const int32 steps = stepCounts[k];
    if (!(infoFlags[k] & ParameterInfo::kIsProgramChange) && steps > 0)
        v = std::floor(static_cast<double>(static_cast<float>(v) * static_cast<float>(steps)) + 0.5) / steps;
    values[k].store(v, std::memory_order_relaxed);
    // The flag is raised after the value: whoever takes the flag sees this value or a newer one.
    if (toProcessor)
        processorPending[k].store(true, std::memory_order_release);
    if (toController)
        controllerPending[k].store(true, std::memory_order_release);
}

void Vst2ParameterCache::takeProcessorChanges(IParameterChanges& changes)
{
    for (size_t k = 0; k < ids.size(); ++k)
    {
        if (!processorPending[k].load(std::memory_order_relaxed)
            || !processorPending[k].exchange(false, std::memory_order_acq_rel))
            continue;
        int32 queueIndex = 0;
        int32 pointIndex = 0;
        if (IParamValueQueue* queue = changes.addParameterData(ids[k], queueIndex))
            queue->addPoint(0, values[k].load(std::memory_order_relaxed), pointIndex);
    }
}

void Vst2ParameterCache::giveControllerChanges(IEditController& controller)
{
    for (size_t k = 0; k < ids.size(); ++k)
        if (controllerPending[k].load(std::memory_order_relaxed)
            && controllerPending[k].exchange(false, std::memory_order_acq_rel))
            controller.setParamNormalized(ids[k], values[k].load(std::memory_order_relaxed));
}

} // namespace Vst
} // namespace Steinberg
