// A VST3 effect presented to a VST2 host: one object that owns the VST3 instance and answers the
// host through a VST2 effect record (dispatcher opcodes, replacing and accumulating processing,
// parameters, programs, chunks, MIDI, editor).
//
// Same class name, header path and factory function as the VST3 SDK's VST2 wrapper, which is not
// packaged here. Differences: create returns the wrapper itself (the SDK returns its VST2 base
// class), only single-component effects (processor and edit controller in one object) are
// wrapped, and the program-change parameter is no VST2 parameter (programs are the program opcodes'
// alone).
//
// Threads: the host's dispatcher calls come from its main thread, except effProcessEvents, which
// comes from the audio thread with the processing calls; setParameter/getParameter may come from
// either. Nothing on the audio thread allocates or locks.
#pragma once

#include "public.sdk/source/vst/vst2wrapper/vst2editorframe.h"
#include "public.sdk/source/vst/vst2wrapper/vst2midiinput.h"
#include "public.sdk/source/vst/vst2wrapper/vst2parametercache.h"

#include "HostEventList.h"
#include "HostParameterChanges.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "vst2abi/Vst2Effect.h"
#include "vst2abi/Vst2Speakers.h"

#include <memory>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2Wrapper : public IComponentHandler
{
public:
    // [main thread] Creates class vst3ComponentID of factory, initializes it and describes it in
    // the effect record. Takes over the caller's reference to factory. Null when the class cannot
    // be created or initialized, is not a single-component effect or has no audio output.
    static Vst2Wrapper* create(IPluginFactory* factory, const TUID vst3ComponentID, int32 vst2ID,
                               Vst2::HostCallback audioMaster);

    virtual ~Vst2Wrapper();
    Vst2Wrapper(const Vst2Wrapper&) = delete;
    Vst2Wrapper& operator=(const Vst2Wrapper&) = delete;

    // The record the host keeps; effClose destroys the wrapper and with it the record.
    Vst2::AEffect* getAeffect() { return &effect; }

    // --- IComponentHandler: edits from the plug-in (its editor) reach the host and the processor.
    tresult PLUGIN_API beginEdit(ParamID id) SMTG_OVERRIDE;
    tresult PLUGIN_API performEdit(ParamID id, ParamValue valueNormalized) SMTG_OVERRIDE;
    tresult PLUGIN_API endEdit(ParamID id) SMTG_OVERRIDE;
    tresult PLUGIN_API restartComponent(int32 flags) SMTG_OVERRIDE;

    // Lives as long as the effect record: no reference counting.
    tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    Vst2Wrapper(IPluginFactory* factory, Vst2::HostCallback audioMaster);
    bool init(const TUID vst3ComponentID, int32 vst2ID);
    void describeClass(const TUID vst3ComponentID);
    void describeBuses();
    void describePrograms();

    // Entry points in the effect record.
    static intptr_t dispatchEffect(Vst2::AEffect* e, int32 opcode, int32 index, intptr_t value, void* ptr,
                                   float opt);
    static void processReplacingEffect(Vst2::AEffect* e, float** inputs, float** outputs, int32 frames);
    static void processEffect(Vst2::AEffect* e, float** inputs, float** outputs, int32 frames);
    static void processDoubleEffect(Vst2::AEffect* e, double** inputs, double** outputs, int32 frames);
    static void setParameterEffect(Vst2::AEffect* e, int32 index, float value);
    static float getParameterEffect(Vst2::AEffect* e, int32 index);
    static Vst2Wrapper* of(Vst2::AEffect* e);

    intptr_t dispatcher(int32 opcode, int32 index, intptr_t value, void* ptr, float opt);
    intptr_t dispatchInfo(int32 opcode, int32 index, intptr_t value, void* ptr, float opt, bool& handled);
    intptr_t dispatchState(int32 opcode, int32 index, intptr_t value, void* ptr, float opt, bool& handled);
    intptr_t dispatchEditor(int32 opcode, void* ptr, bool& handled);
    intptr_t hostCall(int32 opcode, int32 index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) const;

    // Life cycle (vst2wrapper.cpp).
    void resume();
    void suspend();
    // Runs a processing call without audio so that pending parameter values reach the component
    // before its state is read or replaced (only while suspended; while resumed the next block
    // takes them).
    void flushParameters();

    // Parameters (vst2wrapperparameters.cpp).
    void setParameter(int32 index, float value);
    float getParameter(int32 index) const;
    bool getParameterText(int32 opcode, int32 index, char* text);
    bool setParameterFromText(int32 index, const char* text);
    bool setBypass(bool state);

    // Programs and chunks (vst2wrapperprograms.cpp).
    int32 currentProgram() const;
    bool setProgram(int32 program);
    bool programName(int32 program, char* text);
    intptr_t getChunk(void** data);
    bool setChunk(const void* data, intptr_t size);
    void afterBulkChange();

    // Pins, speakers, names (vst2wrapperinfo.cpp).
    bool pinProperties(bool input, int32 index, Vst2::VstPinProperties* pin);
    bool setSpeakerArrangement(const Vst2::VstSpeakerArrangement* in, const Vst2::VstSpeakerArrangement* out);
    bool getSpeakerArrangement(Vst2::VstSpeakerArrangement** in, Vst2::VstSpeakerArrangement** out);
    int32 canDo(const char* text) const;
    int32 tailSize() const;

    // Audio (vst2wrapperprocess.cpp).
    void processBlock(float** inputs, float** outputs, int32 frames, bool accumulate);
    void processPiece(float** inputs, float** outputs, int32 start, int32 length, bool last, bool accumulate,
                      bool hasContext);
    void processEvents(const void* events);

    Vst2::AEffect effect{};
    Vst2::HostCallback audioMaster;
    IPtr<IPluginFactory> factory;
    IPtr<IComponent> component;
    IPtr<IAudioProcessor> processor;
    IPtr<IEditController> controller;
    IPtr<IUnitInfo> unitInfo;
    std::unique_ptr<Vst2EditorFrame> editor;

    Vst2ParameterCache parameters;
    // The program-change parameter is reached through the program opcodes only, never as a VST2
    // parameter: hosts store every parameter's value beside the chunk and set them again after
    // it, which through a program parameter would put a program back over the restored values.
    bool hasProgramParameter = false;
    ParamID programParameterId = 0;
    int32 bypassParameter = -1; // index of the bypass parameter
    ProgramListID programListId = kNoProgramListId;

    std::string effectName;
    std::string vendorName;
    std::string subCategories;
    int32 vendorVersion = 0;
    std::string inputBusName;
    std::string outputBusName;

    bool opened = false;
    bool initialized = false;
    bool active = false;
    bool setUp = false; // setupProcessing succeeded at least once
    double sampleRate = 44100.0;
    int32 blockSize = 1024;
    int32 busChannels = 2; // channels of the current arrangement (1 or 2)
    Vst2::VstSpeakerArrangement reportedArrangement[2]{};

    // Processing objects, sized on resume.
    TessalineHost::HostParameterChanges inputChanges;
    TessalineHost::HostEventList events;
    Vst2MidiInput midiInput;
    ProcessContext processContext{};
    std::vector<float> scratch; // per channel blockSize samples: accumulation and lost outputs
    std::vector<char> chunk;    // the last chunk handed to the host
};

} // namespace Vst
} // namespace Steinberg
