// Parameters as a VST2 host sees them: index k is the controller's k-th parameter, values are
// normalized. A host's value reaches the processor at the start of the next block and the
// controller on the next main-thread call.
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"
#include "public.sdk/source/vst/vst2wrapper/vst2text.h"

#include "vst2abi/Vst2Opcodes.h"

namespace Steinberg {
namespace Vst {

namespace {
// Title and value texts get more room than the interface's historic 8 bytes: hosts reserve far
// more, and the usual wrappers write up to this much.
constexpr size_t kParamTextLen = 32;
} // namespace

void Vst2Wrapper::setParameter(int32 index, float value)
{
    if (!opened)
        return;
    parameters.set(index, static_cast<double>(value), true, true);
}

float Vst2Wrapper::getParameter(int32 index) const { return static_cast<float>(parameters.value(index)); }

bool Vst2Wrapper::getParameterText(int32 opcode, int32 index, char* text)
{
    if (!text || !parameters.isValid(index))
        return false;
    const ParamID id = parameters.id(index);
    if (opcode == Vst2::effGetParamDisplay)
    {
        String128 display{};
        if (controller->getParamStringByValue(id, parameters.value(index), display) != kResultOk)
            return false;
        Vst2Text::copyUtf16(display, text, kParamTextLen);
        return true;
    }
    ParameterInfo info{};
    if (controller->getParameterInfo(index, info) != kResultOk)
        return false;
    if (opcode == Vst2::effGetParamLabel)
        Vst2Text::copyUtf16(info.units, text, Vst2::kMaxParamStrLen);
    else
        Vst2Text::copyUtf16(info.title, text, kParamTextLen);
    return true;
}

bool Vst2Wrapper::setParameterFromText(int32 index, const char* text)
{
    if (!parameters.isValid(index))
        return false;
    if (!text)
        return true; // the host only asks whether texts are understood
    String128 string{};
    Vst2Text::toString128(text, string);
    ParamValue value = 0.0;
    if (controller->getParamValueByString(parameters.id(index), string, value) != kResultOk)
        return false;
    parameters.set(index, value, true, true);
    parameters.giveControllerChanges(*controller);
    return true;
}

bool Vst2Wrapper::setBypass(bool state)
{
    if (bypassParameter < 0)
        return false;
    parameters.set(bypassParameter, state ? 1.0 : 0.0, true, true);
    parameters.giveControllerChanges(*controller);
    return true;
}

} // namespace Vst
} // namespace Steinberg
