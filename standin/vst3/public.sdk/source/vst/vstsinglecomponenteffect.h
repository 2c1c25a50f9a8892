// One object that is both the audio processor (IComponent, IAudioProcessor) and the edit
// controller (EditControllerEx1: IEditController, IEditController2, IUnitInfo, IConnectionPoint,
// IPluginBase) of a VST3 effect, with the bus lists of a component.
//
// Same class name, header path and behaviour as the VST3 SDK's SingleComponentEffect, which the
// Debian SDK subset does not ship.
//
// IComponent and IEditController both declare setState/getState with the same signature. To keep
// them apart, the edit controller's pair is declared under the names setEditorState/getEditorState
// (same vtable slots, so hosts see no difference); IComponent's pair keeps its names and is what a
// subclass overrides with setState/getState. This works only when this header is the first to
// include ivsteditcontroller.h in a translation unit, which the check at the end enforces.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#define setState setEditorState
#define getState getEditorState
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/vst/vsteditcontroller.h"
#undef setState
#undef getState

#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vstparameters.h"

#include <type_traits>

namespace Steinberg {
namespace Vst {

class SingleComponentEffect : public EditControllerEx1, public IComponent, public IAudioProcessor
{
public:
    SingleComponentEffect();
    ~SingleComponentEffect() override;

    //--- IPluginBase (reached through IComponent and the controller alike, hence the overrides)
    tresult PLUGIN_API initialize(FUnknown* context) SMTG_OVERRIDE;
    // Removes all parameters and buses, then terminates the controller.
    tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    //--- IComponent
    tresult PLUGIN_API getControllerClassId(TUID classId) SMTG_OVERRIDE { return kNotImplemented; }
    tresult PLUGIN_API setIoMode(IoMode mode) SMTG_OVERRIDE { return kNotImplemented; }
    int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) SMTG_OVERRIDE;
    tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) SMTG_OVERRIDE;
    tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) SMTG_OVERRIDE
    {
        return kNotImplemented;
    }
    tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API setActive(TBool state) SMTG_OVERRIDE { return kResultOk; }
    tresult PLUGIN_API setState(IBStream* state) SMTG_OVERRIDE { return kNotImplemented; }
    tresult PLUGIN_API getState(IBStream* state) SMTG_OVERRIDE { return kNotImplemented; }

    //--- bus set-up; the returned bus belongs to its list
    AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                            int32 flags = BusInfo::kDefaultActive);
    AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                             int32 flags = BusInfo::kDefaultActive);
    EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                            int32 flags = BusInfo::kDefaultActive);
    EventBus* addEventOutput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                             int32 flags = BusInfo::kDefaultActive);
    tresult removeAudioBusses();
    tresult removeEventBusses();
    tresult removeAllBusses();

    //--- IAudioProcessor
    // Applies the first numIns/numOuts arrangements to the declared audio buses, in order.
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                          SpeakerArrangement* outputs, int32 numOuts) SMTG_OVERRIDE;
    tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index,
                                         SpeakerArrangement& arr) SMTG_OVERRIDE;
    // 32-bit samples only.
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) SMTG_OVERRIDE;
    uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE { return 0; }
    // Stores the set-up in processSetup; kResultFalse (and nothing stored) for other sample sizes.
    tresult PLUGIN_API setupProcessing(ProcessSetup& setup) SMTG_OVERRIDE;
    tresult PLUGIN_API setProcessing(TBool state) SMTG_OVERRIDE { return kNotImplemented; }
    tresult PLUGIN_API process(ProcessData& data) SMTG_OVERRIDE { return kNotImplemented; }
    uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE { return kNoTail; }

    OBJ_METHODS(SingleComponentEffect, EditControllerEx1)
    // Answers IComponent and IAudioProcessor, everything else through EditControllerEx1.
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    REFCOUNT_METHODS(EditControllerEx1)

protected:
    // The list for a media type and direction, or null for an unknown media type.
    BusList* getBusList(MediaType type, BusDirection dir);
    // The bus at index of that list, or null for an unknown list or an index outside it.
    Bus* getBus(MediaType type, BusDirection dir, int32 index);

    ProcessSetup processSetup;

    BusList audioInputs;
    BusList audioOutputs;
    BusList eventInputs;
    BusList eventOutputs;
};

namespace SingleComponentEffectCheck {
template <typename T, typename = void>
struct HasEditorState : std::false_type
{};
template <typename T>
struct HasEditorState<T, std::void_t<decltype(&T::setEditorState)>> : std::true_type
{};
static_assert(HasEditorState<IEditController>::value,
              "vstsinglecomponenteffect.h must be included before any header that includes "
              "ivsteditcontroller.h or vsteditcontroller.h");
} // namespace SingleComponentEffectCheck

} // namespace Vst
} // namespace Steinberg
