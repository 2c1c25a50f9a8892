#include "HostParamValueQueue.h"

#include "pluginterfaces/base/funknown.h"

#include <algorithm>

namespace TessalineHost {

using namespace Steinberg;

HostParamValueQueue::HostParamValueQueue(int32 capacity)
    : points(static_cast<size_t>(capacity > 0 ? capacity : 0))
{}

void HostParamValueQueue::reset(Vst::ParamID id)
{
    paramId = id;
    count = 0;
}

bool HostParamValueQueue::appendPoint(int32 sampleOffset, Vst::ParamValue value)
{
    if (count >= capacity())
        return false;
    points[static_cast<size_t>(count++)] = {sampleOffset, value};
    return true;
}

void HostParamValueQueue::addLatestPoint(int32 sampleOffset, Vst::ParamValue value)
{
    if (capacity() == 0)
        return;
    if (count > 0)
        sampleOffset = std::max(sampleOffset, points[static_cast<size_t>(count - 1)].offset);
    if (count == capacity())
        --count;
    points[static_cast<size_t>(count++)] = {sampleOffset, value};
}

tresult PLUGIN_API HostParamValueQueue::getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
    if (index < 0 || index >= count)
        return kInvalidArgument;
    sampleOffset = points[static_cast<size_t>(index)].offset;
    value = points[static_cast<size_t>(index)].value;
    return kResultOk;
}

tresult PLUGIN_API HostParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index)
{
    int32 at = 0;
    while (at < count && points[static_cast<size_t>(at)].offset < sampleOffset)
        ++at;
    if (at < count && points[static_cast<size_t>(at)].offset == sampleOffset)
    {
        points[static_cast<size_t>(at)].value = value;
        index = at;
        return kResultOk;
    }
    if (count >= capacity())
    {
        index = -1;
        return kOutOfMemory;
    }
    for (int32 k = count; k > at; --k)
        points[static_cast<size_t>(k)] = points[static_cast<size_t>(k - 1)];
    points[static_cast<size_t>(at)] = {sampleOffset, value};
    ++count;
    index = at;
    return kResultOk;
}

tresult PLUGIN_API HostParamValueQueue::queryInterface(const TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Vst::IParamValueQueue)
    QUERY_INTERFACE(iid, obj, Vst::IParamValueQueue::iid, Vst::IParamValueQueue)
    *obj = nullptr;
    return kNoInterface;
}

} // namespace TessalineHost
