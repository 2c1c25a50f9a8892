#include "HostState.h"

#include "public.sdk/source/common/memorystream.h"

namespace TessalineHost {

using namespace Steinberg;

namespace {

// A read stream over a private copy of bytes (the plug-in may read it in any order).
IPtr<MemoryStream> streamOver(std::vector<std::uint8_t>& copy)
{
    if (copy.empty())
        return owned(new MemoryStream());
    return owned(new MemoryStream(copy.data(), static_cast<TSize>(copy.size())));
}

} // namespace

tresult saveComponentState(Vst::IComponent* component, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    if (!component)
        return kInvalidArgument;
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    tresult result = component->getState(stream);
    const auto* data = reinterpret_cast<const std::uint8_t*>(stream->getData());
    if (data)
        bytes.assign(data, data + stream->getSize());
    return result;
}

tresult loadComponentState(Vst::IComponent* component, const std::vector<std::uint8_t>& bytes)
{
    if (!component)
        return kInvalidArgument;
    std::vector<std::uint8_t> copy(bytes);
    IPtr<MemoryStream> stream = streamOver(copy);
    return component->setState(stream);
}

tresult loadControllerState(Vst::IEditController* controller, const std::vector<std::uint8_t>& bytes)
{
    if (!controller)
        return kInvalidArgument;
    std::vector<std::uint8_t> copy(bytes);
    IPtr<MemoryStream> stream = streamOver(copy);
    return controller->setComponentState(stream);
}

} // namespace TessalineHost
