#include "HostInstance.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace TessalineHost {

using namespace Steinberg;

HostInstance::HostInstance()
    : hostApplication(std::make_unique<Vst::HostApplication>())
    , componentHandler(owned(new HostComponentHandler()))
{}

HostInstance::~HostInstance() { destroy(); }

FUnknown* HostInstance::hostContext() const
{
    return static_cast<Vst::IHostApplication*>(hostApplication.get());
}

bool HostInstance::create(IPluginFactory* factory, const TUID cid)
{
    destroy();
    if (!factory)
        return false;
    Vst::IComponent* created = nullptr;
    if (factory->createInstance(cid, Vst::IComponent::iid, reinterpret_cast<void**>(&created)) != kResultOk
        || !created)
        return false;
    component = owned(created);
    processor = FUnknownPtr<Vst::IAudioProcessor>(component);
    controller = FUnknownPtr<Vst::IEditController>(component);
    unitInfo = FUnknownPtr<Vst::IUnitInfo>(component);
    midiMapping = FUnknownPtr<Vst::IMidiMapping>(component);
    connectionPoint = FUnknownPtr<Vst::IConnectionPoint>(component);
    return true;
}

void HostInstance::destroy()
{
    if (active)
        setActive(false);
    if (initialized)
        terminate();
    connectionPoint = nullptr;
    midiMapping = nullptr;
    unitInfo = nullptr;
    controller = nullptr;
    processor = nullptr;
    component = nullptr;
}

tresult HostInstance::initialize()
{
    if (!component)
        return kNotInitialized;
    tresult result = component->initialize(hostContext());
    if (result != kResultOk)
        return result;
    initialized = true;
    if (controller)
        controller->setComponentHandler(componentHandler);
    return result;
}

tresult HostInstance::terminate()
{
    if (!component)
        return kNotInitialized;
    if (controller)
        controller->setComponentHandler(nullptr);
    initialized = false;
    return component->terminate();
}

tresult HostInstance::setupProcessing(double sampleRate, int32 maxBlockSize, int32 processMode,
                                      int32 sampleSize)
{
    if (!processor)
        return kNotInitialized;
    Vst::ProcessSetup setup{};
    setup.processMode = processMode;
    setup.symbolicSampleSize = sampleSize;
    setup.maxSamplesPerBlock = maxBlockSize;
    setup.sampleRate = sampleRate;
    return processor->setupProcessing(setup);
}

tresult HostInstance::setBusArrangement(Vst::SpeakerArrangement arrangement)
{
    if (!processor)
        return kNotInitialized;
    Vst::SpeakerArrangement in = arrangement;
    Vst::SpeakerArrangement out = arrangement;
    return processor->setBusArrangements(&in, 1, &out, 1);
}

tresult HostInstance::setActive(bool state)
{
    if (!component)
        return kNotInitialized;
    tresult result = component->setActive(state);
    active = state && result == kResultOk;
    return result;
}

tresult HostInstance::setProcessing(bool state)
{
    return processor ? processor->setProcessing(state) : kNotInitialized;
}

tresult HostInstance::process(Vst::ProcessData& data)
{
    return processor ? processor->process(data) : kNotInitialized;
}

tresult HostInstance::process(HostAudioBuffers& buffers, int32 numSamples,
                              Vst::IParameterChanges* inputChanges, Vst::IEventList* events,
                              Vst::IParameterChanges* outputChanges)
{
    Vst::ProcessData& data = buffers.prepare(numSamples);
    data.inputParameterChanges = inputChanges;
    data.inputEvents = events;
    data.outputParameterChanges = outputChanges;
    tresult result = process(data);
    data.inputParameterChanges = nullptr;
    data.inputEvents = nullptr;
    data.outputParameterChanges = nullptr;
    return result;
}

} // namespace TessalineHost
