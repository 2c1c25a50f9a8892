#include "public.sdk/source/vst/hosting/parameterchanges.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

tresult PLUGIN_API ParameterValueQueue::queryInterface(const TUID _iid, void** obj)
{
    QUERY_INTERFACE(_iid, obj, FUnknown::iid, IParamValueQueue)
    QUERY_INTERFACE(_iid, obj, IParamValueQueue::iid, IParamValueQueue)
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API ParameterChanges::queryInterface(const TUID _iid, void** obj)
{
    QUERY_INTERFACE(_iid, obj, FUnknown::iid, IParameterChanges)
    QUERY_INTERFACE(_iid, obj, IParameterChanges::iid, IParameterChanges)
    *obj = nullptr;
    return kNoInterface;
}

ParameterValueQueue::ParameterValueQueue(ParamID pid, int32 maxPoints)
    : paramID(pid)
    , points(static_cast<size_t>(std::max<int32>(maxPoints, 1)))
{}

tresult PLUGIN_API ParameterValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value)
{
    if (index < 0 || index >= count)
        return kResultFalse;
    sampleOffset = points[static_cast<size_t>(index)].sampleOffset;
    value = points[static_cast<size_t>(index)].value;
    return kResultTrue;
}

tresult PLUGIN_API ParameterValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index)
{
    if (count > 0)
        sampleOffset = std::max(sampleOffset, points[static_cast<size_t>(count - 1)].sampleOffset);
    if (count == static_cast<int32>(points.size()))
        --count; // full: the newest value replaces the last point
    points[static_cast<size_t>(count)] = {sampleOffset, value};
    index = count++;
    return kResultTrue;
}

ParameterChanges::ParameterChanges(int32 maxParameters, int32 maxPointsPerParameter)
{
    queues.reserve(static_cast<size_t>(std::max<int32>(maxParameters, 0)));
    for (int32 i = 0; i < maxParameters; ++i)
        queues.emplace_back(0, maxPointsPerParameter);
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
    if (index < 0 || index >= usedQueues)
        return nullptr;
    return &queues[static_cast<size_t>(index)];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& pid, int32& index)
{
    for (int32 i = 0; i < usedQueues; ++i)
    {
        if (queues[static_cast<size_t>(i)].getParameterId() == pid)
        {
            index = i;
            return &queues[static_cast<size_t>(i)];
        }
    }
    if (usedQueues == static_cast<int32>(queues.size()))
        return nullptr;
    ParameterValueQueue& queue = queues[static_cast<size_t>(usedQueues)];
    queue.setParamID(pid);
    queue.clear();
    index = usedQueues++;
    return &queue;
}

} // namespace Vst
} // namespace Steinberg
