#include "HostComponentHandler.h"

#include "pluginterfaces/base/funknown.h"

namespace TessalineHost {

using namespace Steinberg;

void HostComponentHandler::reset()
{
    beginEditCount = performEditCount = endEditCount = restartCount = 0;
    lastRestartFlags = allRestartFlags = 0;
    edits.clear();
}

tresult PLUGIN_API HostComponentHandler::beginEdit(Vst::ParamID /*id*/)
{
    ++beginEditCount;
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue value)
{
    ++performEditCount;
    edits.push_back({id, value});
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::endEdit(Vst::ParamID /*id*/)
{
    ++endEditCount;
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::restartComponent(int32 flags)
{
    ++restartCount;
    lastRestartFlags = flags;
    allRestartFlags |= flags;
    return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::queryInterface(const TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Vst::IComponentHandler)
    QUERY_INTERFACE(iid, obj, Vst::IComponentHandler::iid, Vst::IComponentHandler)
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API HostComponentHandler::addRef() { return ++refs; }

uint32 PLUGIN_API HostComponentHandler::release()
{
    uint32 left = --refs;
    if (left == 0)
        delete this;
    return left;
}

} // namespace TessalineHost
