// The one class the factory creates: a single-component VST3 effect (processor and edit
// controller in one object) that owns the DSP object and translates between the host's
// buses, parameters, units and streams and the DSP object's control list.
#pragma once

// The single-component base must be the first SDK header of a translation unit (it separates
// the component's and the controller's setState/getState); include this header first.
#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include "adapter/parameters/ParameterRegistry.h"
#include "adapter/realtime/ControlHandOff.h"
#include "adapter/realtime/ControlMirror.h"
#include "adapter/processor/EditorDelegate.h"
#include "adapter/processor/HostNotifier.h"
#include "adapter/processor/ProcessingPath.h"
#include "adapter/processor/StateStream.h"
#include "core/CPlugIn.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "vstgui/plugin-bindings/vst3editor.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

// IUnitInfo comes with the base's EditControllerEx1; the Processor answers its queries itself.
// It is also the controller and delegate of the editor it creates (VSTGUI's VST3EditorDelegate);
// the views themselves come from the editor library installed in CEditorDelegate.
//
// Threads. The host calls process on its audio thread and everything else on its UI (main)
// thread. Main-thread calls marked "while processing" may come while process runs on the
// audio thread: they never touch the DSP object's processing state, but leave their changes
// in the control hand-off, which the next block takes, and answer from the mirror of what the
// audio thread last published. Calls marked "not processing" come only while the effect is
// inactive (the host's contract; setupProcessing refuses otherwise). The DSP object's own
// contract is written on CPlugIn.
class Processor : public SingleComponentEffect, public IMidiMapping, public VSTGUI::VST3EditorDelegate
{
public:
    using PlugInCreator = CPlugIn* (*)();

    Processor();
    // Builds the DSP object with `creator` instead of the effect's createPlugIn.
    explicit Processor(PlugInCreator creator);
    ~Processor() override;

    static FUnknown* createInstance(void* context);
    // The same Processor over the rate-true room (CTessalineAnyRate).
    static FUnknown* createAnyRateInstance(void* context);

    // --- IPluginBase --- [main thread, not processing]
    tresult PLUGIN_API initialize(FUnknown* context) SMTG_OVERRIDE;
    tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // --- IComponent ---
    // [main thread, while processing]
    tresult PLUGIN_API setState(IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getState(IBStream* state) SMTG_OVERRIDE;
    // [main thread] Processing runs only between setActive(true) and setActive(false).
    tresult PLUGIN_API setActive(TBool state) SMTG_OVERRIDE;

    // --- IAudioProcessor ---
    // [main thread, not processing]
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                          SpeakerArrangement* outputs, int32 numOuts) SMTG_OVERRIDE;
    // [main thread] Fixed when the DSP object is built.
    uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;
    // [main thread, not processing]
    tresult PLUGIN_API setupProcessing(ProcessSetup& setup) SMTG_OVERRIDE;
    // [audio thread] No allocation, locks or system calls; takes the hand-off's newest changes
    // first and publishes the values it ends with for the main thread.
    tresult PLUGIN_API process(ProcessData& data) SMTG_OVERRIDE;
    // [main thread] As the last prepare left it.
    uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE;

    // --- IEditController: the component state into the parameters; edits and presets ---
    // [main thread, while processing]
    tresult PLUGIN_API setComponentState(IBStream* state) SMTG_OVERRIDE;
    // The controller's own state (IEditController's setState/getState): the program the host
    // sees, so that a reopened project knows which program its values came from and a host setting
    // the program-change parameter again to the saved program changes nothing.
    tresult PLUGIN_API setEditorState(IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getEditorState(IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API setParamNormalized(ParamID tag, ParamValue value) SMTG_OVERRIDE;
    ParamValue PLUGIN_API getParamNormalized(ParamID tag) SMTG_OVERRIDE;
    tresult PLUGIN_API setComponentHandler(IComponentHandler* handler) SMTG_OVERRIDE;

    // --- IEditController --- [main thread, while processing]
    // Both guard the SDK's container and list lookups, which would throw on an index or value
    // outside their range: a host gets kResultFalse or the nearest valid text instead.
    tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                             String128 string) SMTG_OVERRIDE;
    ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) SMTG_OVERRIDE;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plainValue) SMTG_OVERRIDE;

    // --- IEditController: the editor (ProcessorEditor.cpp, through m_Editor) [UI thread] ---
    IPlugView* PLUGIN_API createView(FIDString name) SMTG_OVERRIDE;
    // Text messages of the editor: "VSTGUITimerPing" and "RecreateView".
    tresult receiveText(const char8* text) SMTG_OVERRIDE;

    // --- VST3EditorDelegate ---
    void didOpen(VSTGUI::VST3Editor* editor) override;
    void willClose(VSTGUI::VST3Editor* editor) override;
    // The framework's named views and pad controllers.
    VSTGUI::CView* createCustomView(VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes& attributes,
                                    const VSTGUI::IUIDescription* description,
                                    VSTGUI::VST3Editor* editor) override;
    VSTGUI::IController* createSubController(VSTGUI::UTF8StringPtr name,
                                             const VSTGUI::IUIDescription* description,
                                             VSTGUI::VST3Editor* editor) override;

    // --- IMidiMapping --- [main thread, while processing]
    tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                   CtrlNumber midiControllerNumber,
                                                   ParamID& id) SMTG_OVERRIDE;

    // --- IUnitInfo --- [main thread, while processing]
    int32 PLUGIN_API getUnitCount() SMTG_OVERRIDE;
    tresult PLUGIN_API getUnitInfo(int32 unitIndex, UnitInfo& info) SMTG_OVERRIDE;
    int32 PLUGIN_API getProgramListCount() SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramName(ProgramListID listId, int32 programIndex, String128 name) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                      String128 attributeValue) SMTG_OVERRIDE;
    tresult PLUGIN_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                           String128 name) SMTG_OVERRIDE;
    UnitID PLUGIN_API getSelectedUnit() SMTG_OVERRIDE;
    tresult PLUGIN_API selectUnit(UnitID unitId) SMTG_OVERRIDE;
    tresult PLUGIN_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                    UnitID& unitId) SMTG_OVERRIDE;
    tresult PLUGIN_API setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                          IBStream* data) SMTG_OVERRIDE;

    // Item k of a comma-separated list ("SWITCH_ON"/"SWITCH_OFF" shown as "ON"/"OFF");
    // nothing when the text has no item k. Items are not trimmed.
    static std::optional<std::string> getEnumItem(const char* text, int32 k);

    // [main thread] Tells the DSP object a parameter's new normalized value (message code 13).
    void sendParamToPlugIn(ParamID id, ParamValue valueNormalized);
    // Index of the first control whose uId equals controlId, or -1.
    int32 findControlIndex(uint32 controlId) const;
    // Turns a change of a MIDI pseudo-parameter (0x800 .. 0x807) back into a MIDI call.
    void forwardMidiParameter(int32 id, double value);

    // [main thread] Brings dependent controls in step after a state load or a preset.
    void refreshDependentControls();

    // Notifications for the host's component handler, delivered outside the host's calls; the
    // editor's timer calls its deliverPending and hands it the plug-in frame (attachRunLoop).
    CHostNotifier& hostNotifier() { return m_Notifier; }

    CPlugIn* plugIn() const { return m_pPlugIn.get(); }
    // Ids of the read-only meter parameters, in registration order.
    const std::vector<int32>& meterParamIds() const { return m_MeterParamIds; }

    OBJ_METHODS(Processor, SingleComponentEffect)
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    REFCOUNT_METHODS(SingleComponentEffect)

protected:
    void createPlugIn();
    void declareBuses();
    // The registry's parameters as the SDK's parameter objects (ProcessorParameters.cpp).
    void registerParameters();
    void registerUnitsAndPresets();

    // Processing path (ProcessorProcess.cpp): the block's parameter changes; the rest is
    // m_Path's. [audio thread]
    void applyParameterChanges(ProcessData& data);
    void applyLastValue(IParamValueQueue& queue, int32 numSamples);
    void applyParameterChange(IParamValueQueue& queue, ParamID id, ParamValue value, int32 numSamples);
    uint32_t sidechainChannels(const ProcessData& data);

    // [main thread, not processing] The DSP object prepared at a rate (ProcessorSetup.cpp).
    void prepareAtSampleRate(double sampleRate);

    // Main-thread changes to the DSP object and their hand-off (ProcessorControlSync.cpp).
    void allocateControlSync();
    // [main thread] Applies the hand-off's draft now (not processing) or publishes it.
    void submitDraft();
    // [main thread, not processing] Applies a snapshot published but not yet taken.
    void drainPendingChanges();
    // [audio thread] Start and end of a block.
    void takePendingChanges();
    void publishBlockResults();
    // [owner of the DSP object] Applies a snapshot through the ordinary set operations.
    void applySnapshot(const CControlSnapshot& snapshot);
    // [main thread] The values getState writes: pending changes over the published mirror.
    void currentStateValues(StateValues& values) const;
    // [main thread] A controller edit of a control, the bypass or a joystick axis, handed to the
    // DSP object the way the processing path would apply it.
    void forwardControllerEdit(ParamID id, ParamValue value);
    // [main thread] A restored state into the DSP object (through the hand-off) and into the
    // parameters.
    void restoreIntoPlugIn(const StateValues& values);
    // [main thread] Every room control's parameter shows the restored value; true when a
    // parameter's value changed (the DSP object's editor is told, and the host through a posted
    // edit when reportToHost).
    bool showStateInParameters(const StateValues& values, bool reportToHost);
    // [main thread] After a restored component state: no program is known to be in effect.
    void forgetProgram();

    // Presets (ProcessorPresets.cpp). [main thread] A program is applied only when it is not
    // the one in effect already (m_nProgram): false then, as for a position outside the list.
    bool applyPreset(int32 listPosition);
    int32 presetSlotOfPosition(int32 listPosition) const;
    // [any thread] The value parameter `id` holds when set to `value`: a list's nearest entry, an
    // integer control's nearest whole value.
    ParamValue heldNormalized(ParamID id, ParamValue value);
    // [any thread] The list position a normalized "Factory Presets" value selects.
    int32 presetPositionOf(ParamValue value);
    // [any thread, no allocation] Writes preset slot `slot` into `snapshot` (controls, joystick).
    void fillPresetSnapshot(int32 slot, CControlSnapshot& snapshot) const;
    // [main thread] Shows preset slot `slot` in the parameters; true when a value changed.
    bool showPresetInParameters(int32 slot, const CControlSnapshot& snapshot);
    // [audio thread] A program change that arrived with the block's parameter changes.
    void applyPresetOnAudioThread(int32 listPosition);
    // [main thread, before each delivery and each read of a value] Shows the values after a
    // program change the audio thread applied.
    void showPresetFromAudioThread();

    PlugInCreator m_pCreator;

    int32 m_nLatencySamples = 0;
    std::unique_ptr<CPlugIn> m_pPlugIn;
    double m_dJoystickX = 0.5;
    double m_dJoystickY = 0.5;
    bool m_bBypass = false;
    IParamValueQueue* m_pBypassQueue = nullptr; // the block's bypass queue, during process() only
    std::vector<int32> m_MeterParamIds;
    bool m_bHasSidechain = false;
    bool m_bUnitsViews = true;
    // What the DSP object declares: parameters, units, presets (built by initialize).
    CParameterRegistry m_Registry;
    std::vector<IPtr<Unit>> m_Units;
    int32 m_nSelectedUnit = kRootUnitIdOfProcessor;
    // The processing path and the objects it hands the DSP object (made by initialize).
    CProcessingPath m_Path;

    // Thread hand-off and the main thread's view of the controls.
    CStateLayout m_StateLayout;
    CControlHandOff m_HandOff;
    CControlMirror m_Mirror;
    uint64_t m_uTakenSequence = 0; // audio thread: snapshot taken this block
    bool m_bActive = false;        // main thread
    // Preset changes between the threads: a position asked for off the main thread (for the
    // audio thread) and one the audio thread applied (for the parameters); -1: none.
    std::atomic<int32> m_nRequestedPreset{-1};
    // The list position of the program in effect: the last one applied, or the one a restored
    // controller state names (-1: none, as after construction or a restored component state).
    // Both threads apply programs and keep it.
    std::atomic<int32> m_nProgram{-1};
    std::atomic<int32> m_nAudioPreset{-1};
    int32 m_nBlockPreset = -1;      // audio thread: program applied in this block, published at its end
    CControlSnapshot m_AudioPreset; // audio thread's preset storage
    CHostNotifier m_Notifier;

    // The editor's controller and delegate side. [UI thread]
    CEditorDelegate m_Editor;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
