#include "HostParameterChanges.h"

#include "pluginterfaces/base/funknown.h"

namespace TessalineHost {

using namespace Steinberg;

HostParameterChanges::HostParameterChanges(int32 maxQueues, int32 pointsPerQueue)
{
    for (int32 i = 0; i < maxQueues; ++i)
        queues.push_back(std::make_unique<HostParamValueQueue>(pointsPerQueue));
}

bool HostParameterChanges::addChange(Vst::ParamID id, int32 sampleOffset, Vst::ParamValue value)
{
    int32 index = 0;
    Vst::IParamValueQueue* q = addParameterData(id, index);
    int32 pointIndex = 0;
    return q && q->addPoint(sampleOffset, value, pointIndex) == kResultOk;
}

HostParamValueQueue* HostParameterChanges::appendQueue(Vst::ParamID id)
{
    if (used >= maxQueues())
        return nullptr;
    HostParamValueQueue* q = queues[static_cast<size_t>(used++)].get();
    q->reset(id);
    return q;
}

int32 HostParameterChanges::indexOf(Vst::ParamID id) const
{
    for (int32 i = 0; i < used; ++i)
        if (queues[static_cast<size_t>(i)]->getParameterId() == id)
            return i;
    return -1;
}

HostParamValueQueue* HostParameterChanges::find(Vst::ParamID id) { return queue(indexOf(id)); }

HostParamValueQueue* HostParameterChanges::queue(int32 index)
{
    if (index < 0 || index >= used)
        return nullptr;
    return queues[static_cast<size_t>(index)].get();
}

Vst::IParamValueQueue* PLUGIN_API HostParameterChanges::getParameterData(int32 index) { return queue(index); }

Vst::IParamValueQueue* PLUGIN_API HostParameterChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
    index = indexOf(id);
    if (index >= 0)
        return queue(index);
    HostParamValueQueue* q = appendQueue(id);
    index = q ? used - 1 : -1;
    return q;
}

tresult PLUGIN_API HostParameterChanges::queryInterface(const TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Vst::IParameterChanges)
    QUERY_INTERFACE(iid, obj, Vst::IParameterChanges::iid, Vst::IParameterChanges)
    *obj = nullptr;
    return kNoInterface;
}

} // namespace TessalineHost
