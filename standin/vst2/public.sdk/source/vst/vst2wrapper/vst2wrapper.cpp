// Creation, the effect record, the dispatcher's routing, suspend/resume and the plug-in's edits.
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"

#include "vst2abi/Vst2Opcodes.h"

#include <algorithm>
#include <new>

namespace Steinberg {
namespace Vst {

namespace {
// Opcodes a host may send before effOpen (it reads the plug-in's identity while scanning).
bool answersBeforeOpen(int32 opcode)
{
    switch (opcode)
    {
    case Vst2::effOpen:
    case Vst2::effClose:
    case Vst2::effGetEffectName:
    case Vst2::effGetVendorString:
    case Vst2::effGetProductString:
    case Vst2::effGetVendorVersion:
    case Vst2::effGetPlugCategory:
    case Vst2::effGetVstVersion:
    case Vst2::effCanDo: return true;
    default: return false;
    }
}

// Calls of the audio thread; everything else runs where the host's main thread is.
bool isAudioThreadOpcode(int32 opcode)
{
    return opcode == Vst2::effProcessEvents || opcode == Vst2::effStartProcess
           || opcode == Vst2::effStopProcess;
}
} // namespace

Vst2Wrapper* Vst2Wrapper::create(IPluginFactory* factory, const TUID vst3ComponentID, int32 vst2ID,
                                 Vst2::HostCallback audioMaster)
{
    if (!factory)
        return nullptr;
    auto* wrapper = new (std::nothrow) Vst2Wrapper(factory, audioMaster);
    if (!wrapper)
    {
        factory->release();
        return nullptr;
    }
    if (!wrapper->init(vst3ComponentID, vst2ID))
    {
        delete wrapper;
        return nullptr;
    }
    return wrapper;
}

Vst2Wrapper::Vst2Wrapper(IPluginFactory* f, Vst2::HostCallback master)
    : audioMaster(master)
    , factory(owned(f))
    , inputChanges(0, 64) // sized once the parameters are known
    , events(512)
{
    effect.magic = Vst2::kEffectMagic;
    effect.object = this;
    effect.dispatcher = &Vst2Wrapper::dispatchEffect;
    effect.process = &Vst2Wrapper::processEffect;
    effect.processReplacing = &Vst2Wrapper::processReplacingEffect;
    effect.processDoubleReplacing = &Vst2Wrapper::processDoubleEffect;
    effect.setParameter = &Vst2Wrapper::setParameterEffect;
    effect.getParameter = &Vst2Wrapper::getParameterEffect;
    effect.ioRatio = 1.0f;
}

Vst2Wrapper::~Vst2Wrapper()
{
    editor.reset();
    if (active)
        suspend();
    if (controller)
        controller->setComponentHandler(nullptr);
    if (initialized && component)
        component->terminate();
    controller = nullptr;
    unitInfo = nullptr;
    processor = nullptr;
    component = nullptr;
    factory = nullptr; // the last wrapper's release lets the factory go
}

bool Vst2Wrapper::init(const TUID vst3ComponentID, int32 vst2ID)
{
    void* object = nullptr;
    if (factory->createInstance(vst3ComponentID, IComponent::iid, &object) != kResultOk || !object)
        return false;
    component = owned(static_cast<IComponent*>(object));
    processor = FUnknownPtr<IAudioProcessor>(component);
    controller = FUnknownPtr<IEditController>(component);
    unitInfo = FUnknownPtr<IUnitInfo>(component);
    if (!processor || !controller || component->initialize(nullptr) != kResultOk)
        return false;
    initialized = true;
    if (processor->canProcessSampleSize(kSample32) != kResultTrue)
        return false;
    controller->setComponentHandler(this);

    describeClass(vst3ComponentID);
    describeBuses();
    if (effect.numOutputs <= 0)
        return false;
    parameters.build(*controller, ParameterInfo::kIsProgramChange);
    bypassParameter = parameters.findFlag(ParameterInfo::kIsBypass);
    describePrograms();
    inputChanges = TessalineHost::HostParameterChanges(parameters.count() + 1, 64);
    midiInput.mapControllers(FUnknownPtr<IMidiMapping>(component));
    editor.reset(new Vst2EditorFrame(*controller, [this](int32 width, int32 height) {
        return hostCall(Vst2::audioMasterSizeWindow, width, height) != 0;
    }));

    effect.uniqueID = vst2ID;
    effect.version = vendorVersion;
    effect.numParams = parameters.count();
    effect.initialDelay = static_cast<int32>(std::min<uint32>(processor->getLatencySamples(), 0x7FFFFFFF));
    // Double precision is not offered: the component processes 32-bit samples only.
    effect.flags = Vst2::effFlagsCanReplacing | Vst2::effFlagsProgramChunks;
    if (editor->hasEditor())
        effect.flags |= Vst2::effFlagsHasEditor;
    return true;
}

Vst2Wrapper* Vst2Wrapper::of(Vst2::AEffect* e)
{
    return (e && e->magic == Vst2::kEffectMagic) ? static_cast<Vst2Wrapper*>(e->object) : nullptr;
}

intptr_t Vst2Wrapper::dispatchEffect(Vst2::AEffect* e, int32 opcode, int32 index, intptr_t value, void* ptr,
                                     float opt)
{
    Vst2Wrapper* wrapper = of(e);
    if (!wrapper)
        return 0;
    if (opcode == Vst2::effClose)
    {
        delete wrapper; // the host never touches the record after effClose
        return 1;
    }
    return wrapper->dispatcher(opcode, index, value, ptr, opt);
}

void Vst2Wrapper::processReplacingEffect(Vst2::AEffect* e, float** inputs, float** outputs, int32 frames)
{
    if (Vst2Wrapper* wrapper = of(e))
        wrapper->processBlock(inputs, outputs, frames, false);
}

void Vst2Wrapper::processEffect(Vst2::AEffect* e, float** inputs, float** outputs, int32 frames)
{
    if (Vst2Wrapper* wrapper = of(e))
        wrapper->processBlock(inputs, outputs, frames, true);
}

void Vst2Wrapper::processDoubleEffect(Vst2::AEffect*, double**, double**, int32)
{
    // Not offered in the flags; a host that calls it anyway gets its buffers untouched.
}

void Vst2Wrapper::setParameterEffect(Vst2::AEffect* e, int32 index, float value)
{
    if (Vst2Wrapper* wrapper = of(e))
        wrapper->setParameter(index, value);
}

float Vst2Wrapper::getParameterEffect(Vst2::AEffect* e, int32 index)
{
    Vst2Wrapper* wrapper = of(e);
    return wrapper ? wrapper->getParameter(index) : 0.0f;
}

intptr_t Vst2Wrapper::hostCall(int32 opcode, int32 index, intptr_t value, void* ptr, float opt) const
{
    return audioMaster ? audioMaster(const_cast<Vst2::AEffect*>(&effect), opcode, index, value, ptr, opt) : 0;
}

intptr_t Vst2Wrapper::dispatcher(int32 opcode, int32 index, intptr_t value, void* ptr, float opt)
{
    if (!opened && !answersBeforeOpen(opcode))
        return 0;
    // Values the host set since the last main-thread call reach the controller first.
    if (opened && !isAudioThreadOpcode(opcode))
        parameters.giveControllerChanges(*controller);
    bool handled = false;
    intptr_t result = dispatchInfo(opcode, index, value, ptr, opt, handled);
    if (!handled)
        result = dispatchState(opcode, index, value, ptr, opt, handled);
    if (!handled)
        result = dispatchEditor(opcode, ptr, handled);
    return handled ? result : 0; // unknown and retired opcodes
}

intptr_t Vst2Wrapper::dispatchState(int32 opcode, int32 index, intptr_t value, void* ptr, float opt,
                                    bool& handled)
{
    handled = true;
    switch (opcode)
    {
    case Vst2::effOpen: opened = true; return 1;
    case Vst2::effSetSampleRate:
        if (!(opt > 0.0f) || active)
            return 0; // the rate changes only while suspended
        sampleRate = opt;
        return 1;
    case Vst2::effSetBlockSize:
        if (value <= 0 || value > (1 << 20) || active)
            return 0;
        blockSize = static_cast<int32>(value);
        return 1;
    case Vst2::effMainsChanged:
        if (value != 0)
            resume();
        else
            suspend();
        return 1;
    case Vst2::effSetProgram: return setProgram(static_cast<int32>(value)) ? 1 : 0;
    case Vst2::effGetProgram: return currentProgram();
    case Vst2::effGetProgramName: return programName(currentProgram(), static_cast<char*>(ptr)) ? 1 : 0;
    case Vst2::effGetProgramNameIndexed: return programName(index, static_cast<char*>(ptr)) ? 1 : 0;
    case Vst2::effBeginSetProgram:
    case Vst2::effEndSetProgram: return 1;
    case Vst2::effGetChunk: return getChunk(static_cast<void**>(ptr));
    case Vst2::effSetChunk: return setChunk(ptr, value) ? 1 : 0;
    case Vst2::effProcessEvents: processEvents(ptr); return 1;
    case Vst2::effSetBypass: return setBypass(value != 0) ? 1 : 0;
    case Vst2::effString2Parameter: return setParameterFromText(index, static_cast<const char*>(ptr)) ? 1 : 0;
    case Vst2::effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<const Vst2::VstSpeakerArrangement*>(value),
                                     static_cast<const Vst2::VstSpeakerArrangement*>(ptr))
                   ? 1
                   : 0;
    case Vst2::effGetSpeakerArrangement:
        return getSpeakerArrangement(reinterpret_cast<Vst2::VstSpeakerArrangement**>(value),
                                     static_cast<Vst2::VstSpeakerArrangement**>(ptr))
                   ? 1
                   : 0;
    case Vst2::effSetProcessPrecision: return value == Vst2::kVstProcessPrecision32 ? 1 : 0;
    case Vst2::effStartProcess:
    case Vst2::effStopProcess: return 1; // processing follows mains on/off
    default: handled = false; return 0;
    }
}

intptr_t Vst2Wrapper::dispatchEditor(int32 opcode, void* ptr, bool& handled)
{
    handled = true;
    if (opcode == Vst2::effEditGetRect && ptr)
        *static_cast<Vst2::ERect**>(ptr) = nullptr; // no rectangle unless one is given below
    if (!(effect.flags & Vst2::effFlagsHasEditor))
        return 0;
    switch (opcode)
    {
    case Vst2::effEditGetRect: return ptr && editor->getRect(*static_cast<Vst2::ERect**>(ptr)) ? 1 : 0;
    case Vst2::effEditOpen: return editor->open(ptr) ? 1 : 0;
    case Vst2::effEditClose: editor->close(); return 1;
    case Vst2::effEditIdle: editor->idle(); return 1;
    default: handled = false; return 0;
    }
}

void Vst2Wrapper::resume()
{
    if (active)
        return;
    ProcessSetup setup{kRealtime, kSample32, blockSize, sampleRate};
    if (processor->setupProcessing(setup) != kResultOk)
        return;
    setUp = true;
    scratch.assign(static_cast<size_t>(blockSize) * static_cast<size_t>(std::max(effect.numOutputs, 1)),
                   0.0f);
    if (component->setActive(true) != kResultOk)
        return;
    processor->setProcessing(true);
    active = true;
}

void Vst2Wrapper::suspend()
{
    if (!active)
        return;
    processor->setProcessing(false);
    component->setActive(false);
    active = false;
}

void Vst2Wrapper::flushParameters()
{
    if (active)
        return; // the next block takes them
    inputChanges.clear();
    parameters.takeProcessorChanges(inputChanges);
    if (inputChanges.getParameterCount() == 0)
        return;
    // A VST3 component processes only while active: a short activation carries the flush.
    ProcessSetup setup{kRealtime, kSample32, blockSize, sampleRate};
    if ((setUp || processor->setupProcessing(setup) == kResultOk) && component->setActive(true) == kResultOk)
    {
        setUp = true;
        ProcessData data{};
        data.processMode = kRealtime;
        data.symbolicSampleSize = kSample32;
        data.inputParameterChanges = &inputChanges;
        processor->process(data);
        component->setActive(false);
    }
    inputChanges.clear();
}

tresult PLUGIN_API Vst2Wrapper::queryInterface(const TUID _iid, void** obj)
{
    QUERY_INTERFACE(_iid, obj, FUnknown::iid, IComponentHandler)
    QUERY_INTERFACE(_iid, obj, IComponentHandler::iid, IComponentHandler)
    *obj = nullptr;
    return kNoInterface;
}

tresult PLUGIN_API Vst2Wrapper::beginEdit(ParamID id)
{
    const int32 index = parameters.indexOf(id);
    if (index < 0)
        return kInvalidArgument;
    hostCall(Vst2::audioMasterBeginEdit, index);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::performEdit(ParamID id, ParamValue valueNormalized)
{
    const int32 index = parameters.indexOf(id);
    if (index < 0)
        return kInvalidArgument;
    // The controller holds the value already; the processor and the host learn it now.
    parameters.set(index, valueNormalized, true, false);
    hostCall(Vst2::audioMasterAutomate, index, 0, nullptr, static_cast<float>(parameters.value(index)));
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::endEdit(ParamID id)
{
    const int32 index = parameters.indexOf(id);
    if (index < 0)
        return kInvalidArgument;
    hostCall(Vst2::audioMasterEndEdit, index);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::restartComponent(int32 flags)
{
    if (flags & (kParamValuesChanged | kParamTitlesChanged))
    {
        parameters.reload(*controller);
        hostCall(Vst2::audioMasterUpdateDisplay);
    }
    if (flags & kLatencyChanged)
    {
        effect.initialDelay =
            static_cast<int32>(std::min<uint32>(processor->getLatencySamples(), 0x7FFFFFFF));
        hostCall(Vst2::audioMasterIOChanged);
    }
    return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
