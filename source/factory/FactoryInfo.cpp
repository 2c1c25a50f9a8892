#include "FactoryInfo.h"

#include "TessalineIds.h"
#include "adapter/processor/TextConversion.h"

#include <cstring>

namespace Tessaline {

using Steinberg::Vst::Vava2DUZ3::copyTruncated;

namespace {
template <size_t N>
void copyField(Steinberg::char8 (&field)[N], const char* text)
{
    copyTruncated(field, N, text);
}
} // namespace

void fillFactoryInfo(Steinberg::PFactoryInfo& info)
{
    copyField(info.vendor, "Quorvane");
    copyField(info.url, "https://quorvane.example");
    // The product name and version stand in the contact field.
    copyField(info.email, "Tessaline " TESSALINE_VERSION);
    info.flags = Steinberg::PFactoryInfo::kUnicode;
}

void fillClassInfo(Steinberg::PClassInfo2& info)
{
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    std::memcpy(info.cid, kProcessorCid, sizeof info.cid);
    info.cardinality = Steinberg::PClassInfo::kManyInstances;
    copyField(info.category, "Audio Module Class");
    copyField(info.name, "Tessaline");
    info.classFlags = 0; // no separate controller class
    copyField(info.subCategories, "FX|Reverb");
    copyField(info.vendor, ""); // hosts fall back to the factory's vendor
    copyField(info.version, TESSALINE_VERSION);
    copyField(info.sdkVersion, "VST 3.6.6");
}

void fillAnyRateClassInfo(Steinberg::PClassInfo2& info)
{
    fillClassInfo(info);
    std::memcpy(info.cid, kAnyRateCid, sizeof info.cid);
    copyField(info.name, "Tessaline Any Rate");
}

} // namespace Tessaline
