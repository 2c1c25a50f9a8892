#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {

// The Debian SDK subset declares IPlugView's interface id and uses it (the edit controller's
// editor view answers IPlugView) but defines it nowhere. Defined here, where every user of the
// edit controller links it in before the SDK library; weak, so that a library defining it as well
// (a GUI binding's id file) wins without a duplicate definition.
__attribute__((weak)) const FUID IPlugView::iid(IPlugView_iid);

namespace Vst {

namespace {

// Hands a new bus (its creation reference) to list and returns it.
template <typename B>
B* appendBus(BusList& list, B* bus)
{
    list.push_back(IPtr<Bus>(bus, false));
    return bus;
}

} // namespace

// The SDK library compiles the edit controller with its state pair named setState/getState; here
// the same slots carry the names setEditorState/getEditorState (see the header), so they need
// bodies of their own. A single-component effect keeps all its state in the component state.
tresult PLUGIN_API EditController::setEditorState(IBStream* /*state*/) { return kNotImplemented; }

tresult PLUGIN_API EditController::getEditorState(IBStream* /*state*/) { return kNotImplemented; }

SingleComponentEffect::SingleComponentEffect()
    : audioInputs(kAudio, kInput)
    , audioOutputs(kAudio, kOutput)
    , eventInputs(kEvent, kInput)
    , eventOutputs(kEvent, kOutput)
{
    processSetup.processMode = kRealtime;
    processSetup.symbolicSampleSize = kSample32;
    processSetup.maxSamplesPerBlock = 1024;
    processSetup.sampleRate = 44100.0;
}

SingleComponentEffect::~SingleComponentEffect() = default;

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context)
{
    return EditControllerEx1::initialize(context);
}

tresult PLUGIN_API SingleComponentEffect::terminate()
{
    parameters.removeAll();
    removeAllBusses();
    return EditControllerEx1::terminate();
}

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir)
{
    if (type == kAudio)
        return dir == kInput ? &audioInputs : &audioOutputs;
    if (type == kEvent)
        return dir == kInput ? &eventInputs : &eventOutputs;
    return nullptr;
}

Bus* SingleComponentEffect::getBus(MediaType type, BusDirection dir, int32 index)
{
    BusList* list = getBusList(type, dir);
    if (!list || index < 0 || static_cast<size_t>(index) >= list->size())
        return nullptr;
    return (*list)[static_cast<size_t>(index)].get();
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir)
{
    BusList* list = getBusList(type, dir);
    return list ? static_cast<int32>(list->size()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                                     BusInfo& info)
{
    Bus* bus = getBus(type, dir, index);
    if (!bus)
        return kInvalidArgument;
    info.mediaType = type;
    info.direction = dir;
    return bus->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index,
                                                      TBool state)
{
    Bus* bus = getBus(type, dir, index);
    if (!bus)
        return kResultFalse;
    bus->setActive(state);
    return kResultTrue;
}

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                               int32 flags)
{
    return appendBus(audioInputs, new AudioBus(name, busType, flags, arr));
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                                int32 flags)
{
    return appendBus(audioOutputs, new AudioBus(name, busType, flags, arr));
}

EventBus* SingleComponentEffect::addEventInput(const TChar* name, int32 channels, BusType busType,
                                               int32 flags)
{
    return appendBus(eventInputs, new EventBus(name, busType, flags, channels));
}

EventBus* SingleComponentEffect::addEventOutput(const TChar* name, int32 channels, BusType busType,
                                                int32 flags)
{
    return appendBus(eventOutputs, new EventBus(name, busType, flags, channels));
}

tresult SingleComponentEffect::removeAudioBusses()
{
    audioInputs.clear();
    audioOutputs.clear();
    return kResultOk;
}

tresult SingleComponentEffect::removeEventBusses()
{
    eventInputs.clear();
    eventOutputs.clear();
    return kResultOk;
}

tresult SingleComponentEffect::removeAllBusses()
{
    removeAudioBusses();
    removeEventBusses();
    return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                             SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns < 0 || numOuts < 0)
        return kInvalidArgument;
    if ((numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
        return kInvalidArgument;
    if (static_cast<size_t>(numIns) > audioInputs.size()
        || static_cast<size_t>(numOuts) > audioOutputs.size())
        return kResultFalse;
    for (int32 i = 0; i < numIns; ++i)
        FCast<AudioBus>(audioInputs[static_cast<size_t>(i)].get())->setArrangement(inputs[i]);
    for (int32 i = 0; i < numOuts; ++i)
        FCast<AudioBus>(audioOutputs[static_cast<size_t>(i)].get())->setArrangement(outputs[i]);
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index,
                                                            SpeakerArrangement& arr)
{
    auto* bus = FCast<AudioBus>(getBus(kAudio, dir, index));
    if (!bus)
        return kResultFalse;
    arr = bus->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup)
{
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::queryInterface(const TUID iid, void** obj)
{
    DEF_INTERFACE(IComponent)
    DEF_INTERFACE(IAudioProcessor)
    return EditControllerEx1::queryInterface(iid, obj);
}

} // namespace Vst
} // namespace Steinberg
