#include "adapter/processor/Processor.h"

#include "adapter/parameters/EnumList.h"
#include "room/CTessaline.h"
#include "room/CTessalineAnyRate.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <cassert>
#include <cstring>
#include <new>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

Processor::Processor()
    : Processor(&::createPlugIn)
{}

Processor::Processor(PlugInCreator creator)
    : m_pCreator(creator)
{
    m_Units.reserve(10);
    createPlugIn();
    m_dJoystickX = 0.5;
    m_dJoystickY = 0.5;
    m_bBypass = false;
}

Processor::~Processor()
{
    // The DSP object takes its processing objects back before it goes.
    m_Path.releaseObjects();
    m_pPlugIn.reset();
}

FUnknown* Processor::createInstance(void* /*context*/)
{
    // Nothing may throw across the host boundary: an allocation failure yields null.
    auto* processor = new (std::nothrow) Processor();
    return processor ? static_cast<IAudioProcessor*>(processor) : nullptr;
}

FUnknown* Processor::createAnyRateInstance(void* /*context*/)
{
    auto* processor = new (std::nothrow) Processor(&::createAnyRatePlugIn);
    return processor ? static_cast<IAudioProcessor*>(processor) : nullptr;
}

void Processor::createPlugIn()
{
    // [main thread] Builds the DSP object; memory exhaustion leaves the Processor without one
    // (it then declares only the pseudo-parameters) instead of failing the whole instance.
    assert(!m_pPlugIn && "the DSP object is built once");
    try
    {
        m_pPlugIn.reset(m_pCreator ? m_pCreator() : nullptr);
    }
    catch (const std::bad_alloc&)
    {
        m_pPlugIn.reset();
    }
    if (!m_pPlugIn)
        return;
    m_pPlugIn->postConstruct();
    m_nLatencySamples = static_cast<int32>(m_pPlugIn->m_fLatencySamples);
    m_bHasSidechain = m_pPlugIn->m_bWantSidechain != 0;
    m_Path.attach(*m_pPlugIn);
    allocateControlSync();
}

tresult PLUGIN_API Processor::initialize(FUnknown* context)
{
    // [main thread] The thread that initializes is the host's user-interface thread: the one
    // that delivers notifications, from a timer on the host's run loop when it offers one.
    m_Notifier.adoptCurrentThread();
    m_Notifier.setBeforeDelivery([this] { showPresetFromAudioThread(); });
    m_Notifier.setValueReader([this](ParamID id) { return SingleComponentEffect::getParamNormalized(id); });
    const tresult result = SingleComponentEffect::initialize(context);
    if (result == kResultOk)
        m_Notifier.attachRunLoop(context);
    if (result == kResultOk)
    {
        if (!m_pPlugIn)
            createPlugIn();
        // A host that initializes twice with no context is not refused by the base; start
        // from empty lists so nothing is ever declared twice.
        parameters.removeAll();
        removeAllBusses();
        m_MeterParamIds.clear();
        declareBuses();
        if (m_pPlugIn)
            m_Path.createObjects();
        m_Registry.build(m_pPlugIn.get());
        registerParameters();
    }
    else
        m_Registry.build(m_pPlugIn.get());
    registerUnitsAndPresets();
    return result;
}

tresult PLUGIN_API Processor::terminate()
{
    // [main thread] The DSP object and the units outlive terminate; parameters and buses go.
    m_MeterParamIds.clear();
    m_Path.releaseObjects();
    m_Notifier.detachRunLoop();
    m_Notifier.setComponentHandler(nullptr);
    return SingleComponentEffect::terminate();
}

void Processor::declareBuses()
{
    addAudioOutput(STR16("Audio Output"), SpeakerArr::kStereo);
    if (!m_pPlugIn || !m_pPlugIn->m_bOutputOnly)
    {
        addAudioInput(STR16("AudioInput"), SpeakerArr::kStereo);
        if (m_bHasSidechain)
            addAudioInput(STR16("AuxInput"), SpeakerArr::kStereo, kAux);
    }
    addEventInput(STR16("Event Input"), 16);
}

tresult PLUGIN_API Processor::queryInterface(const TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, IMidiMapping::iid, IMidiMapping)
    QUERY_INTERFACE(iid, obj, IUnitInfo::iid, IUnitInfo)
    return SingleComponentEffect::queryInterface(iid, obj);
}

std::optional<std::string> Processor::getEnumItem(const char* text, int32 k) { return enumListItem(text, k); }

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
