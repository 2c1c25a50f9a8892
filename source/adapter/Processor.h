// The one class the factory creates: a single-component VST3 effect (processor and edit
// controller in one object) that owns the DSP object and translates between the host's
// buses, parameters, units and streams and the DSP object's control list.
#pragma once

// The single-component base must be the first SDK header of a translation unit (it separates
// the component's and the controller's setState/getState); include this header first.
#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include "core/CPlugIn.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <optional>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CVSTParamUpdateQueue;
class CVSTMidiEventList;

// Parameter ids beside the control positions 0 .. N-1.
enum ProcessorParamId : ParamID
{
    kParamPitchBend = 0x800,
    kParamModWheel = 0x801,
    kParamMidiVol = 0x802,
    kParamMidiPan = 0x803,
    kParamMidiExpression = 0x804,
    kParamSustainPedal = 0x805,
    kParamChannelPressure = 0x806,
    kParamAllNotesOff = 0x807,
    kParamBypass = 0x808,
    kParamButton1 = 0x8000,
    kParamButton2 = 0x8001,
    kParamButton3 = 0x8002,
    kParamJoystickX = 0x8005,
    kParamJoystickY = 0x8006,
    kParamFactoryPresets = 0x70727374,   // 'prst'
};

// Unit ids: the preset unit is 0 (the unit every parameter belongs to), the root unit 1.
constexpr UnitID kPresetsUnitId = 0;
constexpr UnitID kRootUnitIdOfProcessor = 1;

// IUnitInfo comes with the base's EditControllerEx1; the Processor answers its queries itself.
// The editor-delegate base (VSTGUI's VST3EditorDelegate) joins the base list with the editor.
class Processor : public SingleComponentEffect, public IMidiMapping
{
public:
    using PlugInCreator = CPlugIn* (*)();

    Processor();
    // Builds the DSP object with `creator` instead of the effect's createPlugIn.
    explicit Processor(PlugInCreator creator);
    ~Processor() override;

    static FUnknown* createInstance(void* context);

    // --- IPluginBase ---
    tresult PLUGIN_API initialize(FUnknown* context) SMTG_OVERRIDE;
    tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // --- IComponent (state stream) ---
    tresult PLUGIN_API setState(IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getState(IBStream* state) SMTG_OVERRIDE;

    // --- IAudioProcessor ---
    tresult PLUGIN_API process(ProcessData& data) SMTG_OVERRIDE;

    // --- IEditController ---
    // Both guard the SDK's container and list lookups, which would throw on an index or value
    // outside their range: a host gets kResultFalse or the nearest valid text instead.
    tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                             String128 string) SMTG_OVERRIDE;
    ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) SMTG_OVERRIDE;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plainValue) SMTG_OVERRIDE;

    // --- IMidiMapping ---
    tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                   CtrlNumber midiControllerNumber,
                                                   ParamID& id) SMTG_OVERRIDE;

    // --- IUnitInfo ---
    int32 PLUGIN_API getUnitCount() SMTG_OVERRIDE;
    tresult PLUGIN_API getUnitInfo(int32 unitIndex, UnitInfo& info) SMTG_OVERRIDE;
    int32 PLUGIN_API getProgramListCount() SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramName(ProgramListID listId, int32 programIndex,
                                      String128 name) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramInfo(ProgramListID listId, int32 programIndex,
                                      CString attributeId, String128 attributeValue) SMTG_OVERRIDE;
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

    CPlugIn* plugIn() const { return m_pPlugIn; }
    // Ids of the read-only meter parameters, in registration order.
    const std::vector<int32>& meterParamIds() const { return m_MeterParamIds; }

    OBJ_METHODS(Processor, SingleComponentEffect)
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    REFCOUNT_METHODS(SingleComponentEffect)

protected:
    void createPlugIn();
    void declareBuses();
    void registerControlParameters();
    void registerControlParameter(int32 index, const CControlEntry& control);
    void registerJoystickAndButtons();
    void registerBypassAndMidiParameters();
    void registerUnitsAndPresets();
    int32 presetNameCount() const;

    PlugInCreator m_pCreator;

    int32 m_nLatencySamples = 0;
    CPlugIn* m_pPlugIn = nullptr;
    double m_dJoystickX = 0.5;
    double m_dJoystickY = 0.5;
    bool m_bBypass = false;
    std::vector<int32> m_MeterParamIds;
    bool m_bHasSidechain = false;
    bool m_bUnitsViews = true;
    int32 m_nUpdateInterval = 1;
    bool m_bSampleAccurate = false;
    std::vector<IPtr<Unit>> m_Units;
    int32 m_nSelectedUnit = kRootUnitIdOfProcessor;
    // Processing objects, created by initialize for the processing path.
    CVSTParamUpdateQueue** m_pParamUpdateQueues = nullptr;
    CVSTMidiEventList* m_pMidiEventList = nullptr;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
