#include "BundleInstance.h"

#include "CliFixture.h"

#include "FactoryPresetFiles.h"
#include "HostEffect.h"
#include "HostStrings.h"

namespace CliTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

BundleInstance::BundleInstance()
{
    std::string error;
    ready = hostModule.load(TESSALINE_BUNDLE_PATH)
            && TessalineHost::openEffect(hostModule, hostInstance, cid, error) && hostInstance.getUnitInfo();
}

bool BundleInstance::selectPreset(int position)
{
    const auto presets = TessalinePresets::factoryPresets(hostInstance);
    if (position < 0 || static_cast<size_t>(position) >= presets.size())
        return false;
    const TessalinePresets::FactoryPreset& preset = presets[static_cast<size_t>(position)];
    return controller().setParamNormalized(preset.listId, preset.normalized) == kResultOk;
}

std::vector<BundleInstance::Value> BundleInstance::values()
{
    std::vector<Value> all;
    for (int32 i = 0; i < controller().getParameterCount(); ++i)
    {
        ParameterInfo info = {};
        if (controller().getParameterInfo(i, info) == kResultOk)
            all.push_back({info.id, TessalineHost::toUtf8(info.title, 128),
                           controller().getParamNormalized(info.id),
                           (info.flags & ParameterInfo::kIsList) != 0});
    }
    return all;
}

std::string BundleInstance::display(ParamID id, ParamValue normalized)
{
    String128 text = {};
    controller().getParamStringByValue(id, normalized, text);
    return TessalineHost::toUtf8(text, 128);
}

long reportedTail(double sampleRate)
{
    BundleInstance bundle;
    if (!bundle.ok() || bundle.instance().setupProcessing(sampleRate, 512) != kResultOk)
        return -1;
    return static_cast<long>(bundle.instance().getProcessor()->getTailSamples());
}

} // namespace CliTest
