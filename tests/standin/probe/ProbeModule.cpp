// A minimal VST3 module built from the stand-ins, for testing the host library end to end:
// stereo gain effect whose gain is parameter 0; its state is the gain as one float; restoring a
// state asks the host to re-read parameter values.
#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include "public.sdk/source/main/linuxmain.h"
#include "public.sdk/source/main/pluginfactory.h"

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const TUID kProbeCid = INLINE_UID(0x50524F42, 0x45000000, 0x00000000, 0x00000001);

class ProbeEffect : public SingleComponentEffect
{
public:
    static FUnknown* create(void*) { return static_cast<IAudioProcessor*>(new ProbeEffect()); }

    tresult PLUGIN_API initialize(FUnknown* context) override
    {
        tresult result = SingleComponentEffect::initialize(context);
        if (result != kResultOk)
            return result;
        addAudioInput(STR16("In"), SpeakerArr::kStereo);
        addAudioOutput(STR16("Out"), SpeakerArr::kStereo);
        addEventInput(STR16("Events"));
        parameters.addParameter(STR16("Gain"), nullptr, 0, 1.0, ParameterInfo::kCanAutomate, 0);
        return result;
    }

    tresult PLUGIN_API process(ProcessData& data) override
    {
        // [audio thread]
        readGain(data.inputParameterChanges);
        if (data.numInputs < 1 || data.numOutputs < 1)
            return kResultOk;
        const int32 channels = data.outputs[0].numChannels < data.inputs[0].numChannels
                                   ? data.outputs[0].numChannels
                                   : data.inputs[0].numChannels;
        for (int32 c = 0; c < channels; ++c)
            for (int32 i = 0; i < data.numSamples; ++i)
                data.outputs[0].channelBuffers32[c][i] =
                    data.inputs[0].channelBuffers32[c][i] * static_cast<float>(gain);
        int32 index = 0;
        if (data.outputParameterChanges)
            if (auto* q = data.outputParameterChanges->addParameterData(0, index))
                q->addPoint(0, gain, index);
        return kResultOk;
    }

    tresult PLUGIN_API getState(IBStream* state) override
    {
        float value = static_cast<float>(gain);
        int32 written = 0;
        return state && state->write(&value, sizeof value, &written) == kResultOk && written == sizeof value
                   ? kResultOk
                   : kResultFalse;
    }

    tresult PLUGIN_API setState(IBStream* state) override
    {
        float value = 0.f;
        int32 read = 0;
        if (!state || state->read(&value, sizeof value, &read) != kResultOk || read != sizeof value)
            return kResultFalse;
        gain = value;
        if (componentHandler)
            componentHandler->restartComponent(kParamValuesChanged);
        return kResultOk;
    }

private:
    void readGain(IParameterChanges* changes)
    {
        if (!changes)
            return;
        for (int32 k = 0; k < changes->getParameterCount(); ++k)
        {
            IParamValueQueue* q = changes->getParameterData(k);
            int32 offset = 0;
            ParamValue value = 0;
            if (q && q->getParameterId() == 0 && q->getPointCount() > 0
                && q->getPoint(q->getPointCount() - 1, offset, value) == kResultOk)
                gain = value;
        }
    }

    ParamValue gain = 1.0;
};

} // namespace

bool InitModule() { return true; }

bool DeinitModule() { return true; }

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
    if (gPluginFactory)
    {
        gPluginFactory->addRef();
        return gPluginFactory;
    }
    static PFactoryInfo factoryInfo("Probe Vendor", "", "", PFactoryInfo::kUnicode);
    gPluginFactory = new CPluginFactory(factoryInfo);
    static PClassInfo2 classInfo(kProbeCid, PClassInfo::kManyInstances, "Audio Module Class", "Probe", 0,
                                 "Fx", "", "1.0.0", "VST 3.6.6");
    gPluginFactory->registerClass(&classInfo, ProbeEffect::create);
    return gPluginFactory;
}
