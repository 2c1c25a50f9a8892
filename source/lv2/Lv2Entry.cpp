// The module's one export, lv2_descriptor (the original room, then the rate-true one), and the C
// callbacks into Lv2Plugin.
#include "lv2/Lv2Plugin.h"
#include "room/CTessaline.h"
#include "room/CTessalineAnyRate.h"

#include <lv2/core/lv2.h>

#include <cstring>

namespace {
using TessalineLv2::Lv2Plugin;

Lv2Plugin* self(LV2_Handle handle) { return static_cast<Lv2Plugin*>(handle); }

LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features)
{
    return Lv2Plugin::create(rate, features, &createPlugIn);
}
LV2_Handle instantiateAnyRate(const LV2_Descriptor*, double rate, const char*,
                              const LV2_Feature* const* features)
{
    return Lv2Plugin::create(rate, features, &createAnyRatePlugIn);
}
void connectPort(LV2_Handle handle, uint32_t port, void* data) { self(handle)->connect(port, data); }
void activate(LV2_Handle handle) { self(handle)->activate(); }
void run(LV2_Handle handle, uint32_t frames) { self(handle)->run(frames); }
void deactivate(LV2_Handle) {}
void cleanup(LV2_Handle handle) { delete self(handle); }

LV2_State_Status save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state, uint32_t,
                      const LV2_Feature* const*)
{
    return self(handle)->save(store, state);
}
LV2_State_Status restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state,
                         uint32_t, const LV2_Feature* const*)
{
    return self(handle)->restore(retrieve, state);
}

const LV2_State_Interface kStateInterface = {save, restore};

const void* extensionData(const char* uri)
{
    return std::strcmp(uri, LV2_STATE__interface) == 0 ? &kStateInterface : nullptr;
}

const LV2_Descriptor kDescriptors[] = {
    {TessalineLv2::kPluginUri, instantiate, connectPort, activate, run, deactivate, cleanup, extensionData},
    {TessalineLv2::kAnyRatePluginUri, instantiateAnyRate, connectPort, activate, run, deactivate, cleanup,
     extensionData}};
} // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    return index < sizeof kDescriptors / sizeof kDescriptors[0] ? &kDescriptors[index] : nullptr;
}
