// A small module built from the stand-ins, for testing the host library and the VST2 wrapper end
// to end with what Tessaline does not have: a stereo gain effect whose gain is parameter 0 (the
// processor reports it back as an output change); its state is the gain as one float, and
// restoring a state asks the host to re-read parameter values; an X11 editor view that, once
// attached, drives a gesture on the parameter and asks for a bigger window from a run-loop timer.
// Its VST2 entry also tells where it thinks its module file is.
#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include "public.sdk/source/common/pluginview.h"
#include "public.sdk/source/main/linuxmain.h"
#include "public.sdk/source/main/pluginfactory.h"
#include "public.sdk/source/vst/vst2wrapper/vst2moduleentry.h"
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "vst2abi/Vst2Opcodes.h"

#include <cstring>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const TUID kProbeCid = INLINE_UID(0x50524F42, 0x45000000, 0x00000000, 0x00000001);

class ProbeView : public CPluginView, public Linux::ITimerHandler
{
public:
    explicit ProbeView(EditController& c)
        : controller(c)
    {
        rect = ViewRect(0, 0, 400, 200);
    }

    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override
    {
        return std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultTrue : kResultFalse;
    }
    tresult PLUGIN_API attached(void* parent, FIDString type) override
    {
        void* loop = nullptr;
        if (!plugFrame || plugFrame->queryInterface(INLINE_UID_OF(Linux::IRunLoop), &loop) != kResultOk)
            return kResultFalse; // an X11 editor cannot live without its frame's run loop
        runLoop = static_cast<Linux::IRunLoop*>(loop);
        runLoop->registerTimer(this, 1);
        return CPluginView::attached(parent, type);
    }
    tresult PLUGIN_API removed() override
    {
        if (runLoop)
            runLoop->unregisterTimer(this);
        runLoop = nullptr;
        return CPluginView::removed();
    }
    void PLUGIN_API onTimer() override
    {
        if (done)
            return;
        done = true;
        controller.beginEdit(0);
        controller.setParamNormalized(0, 0.75);
        controller.performEdit(0, 0.75);
        controller.endEdit(0);
        ViewRect bigger(0, 0, 500, 300);
        plugFrame->resizeView(this, &bigger);
    }
    tresult PLUGIN_API canResize() override { return kResultTrue; }

    OBJ_METHODS(ProbeView, CPluginView)
    DEFINE_INTERFACES
    END_DEFINE_INTERFACES(CPluginView)
    REFCOUNT_METHODS(CPluginView)

private:
    EditController& controller;
    Linux::IRunLoop* runLoop = nullptr;
    bool done = false;
};

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
    IPlugView* PLUGIN_API createView(FIDString name) override
    {
        return std::strcmp(name, ViewType::kEditor) == 0 ? new ProbeView(*this) : nullptr;
    }
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement*, int32, SpeakerArrangement*, int32) override
    {
        return kResultTrue;
    }
    tresult PLUGIN_API process(ProcessData& data) override
    {
        // [audio thread]
        readGain(data.inputParameterChanges);
        if (data.numInputs < 1 || data.numOutputs < 1)
            return kResultOk;
        for (int32 c = 0; c < data.outputs[0].numChannels; ++c)
            for (int32 i = 0; i < data.numSamples; ++i)
                data.outputs[0].channelBuffers32[c][i] =
                    c < data.inputs[0].numChannels && data.inputs[0].channelBuffers32[c]
                        ? data.inputs[0].channelBuffers32[c][i] * static_cast<float>(gain)
                        : 0.0f;
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

int initCalls = 0;

bool InitModule()
{
    ++initCalls;
    return true;
}

bool DeinitModule() { return true; }

extern "C" {

SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
    if (gPluginFactory)
    {
        gPluginFactory->addRef();
        return gPluginFactory;
    }
    static PFactoryInfo factoryInfo("Probe Vendor", "", "", PFactoryInfo::kUnicode);
    gPluginFactory = new CPluginFactory(factoryInfo);
    static PClassInfo2 classInfo(kProbeCid, PClassInfo::kManyInstances, "Audio Module Class", "Probe", 0,
                                 "Fx|Delay", "", "1.2.3.4", "VST 3.6.6");
    gPluginFactory->registerClass(&classInfo, ProbeEffect::create);
    return gPluginFactory;
}

SMTG_EXPORT_SYMBOL Vst2::AEffect* VSTPluginMain(Vst2::HostCallback audioMaster)
{
    if (!audioMaster || audioMaster(nullptr, Vst2::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    if (!enterModuleForVst2())
        return nullptr;
    Vst2Wrapper* wrapper = Vst2Wrapper::create(GetPluginFactory(), kProbeCid, 0x50726F62, audioMaster);
    return wrapper ? wrapper->getAeffect() : nullptr;
}

// The module handle and the number of module-init calls, as the module entry left them.
SMTG_EXPORT_SYMBOL void* probeModuleHandle() { return moduleHandle; }

SMTG_EXPORT_SYMBOL int probeInitCalls() { return initCalls; }

// Where the module believes it lives (links resolved).
SMTG_EXPORT_SYMBOL const char* probeModulePath()
{
    static std::string path;
    path = getModulePath();
    return path.c_str();
}

} // extern "C"
