// Opcodes of the VST 2.4 effect dispatcher and of the host callback, with their documented
// numbers. Numbers marked "old" belong to calls retired before 2.4; hosts may still send them.
#pragma once

#include <cstdint>

namespace Vst2 {

enum EffectOpcode : int32_t
{
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,      // value: program index
    effGetProgram = 3,      // answer: program index
    effSetProgramName = 4,  // ptr: text
    effGetProgramName = 5,  // ptr: text out (kMaxProgNameLen)
    effGetParamLabel = 6,   // index; ptr: unit text out
    effGetParamDisplay = 7, // index; ptr: value text out
    effGetParamName = 8,    // index; ptr: title out
    effGetVu = 9,           // old
    effSetSampleRate = 10,  // opt: rate
    effSetBlockSize = 11,   // value: largest block
    effMainsChanged = 12,   // value: 0 suspend, 1 resume
    effEditGetRect = 13,    // ptr: ERect** out
    effEditOpen = 14,       // ptr: parent window (an X11 window id on Linux)
    effEditClose = 15,
    effEditDraw = 16,  // old
    effEditMouse = 17, // old
    effEditKey = 18,   // old
    effEditIdle = 19,
    effEditTop = 20,                 // old
    effEditSleep = 21,               // old
    effIdentify = 22,                // old
    effGetChunk = 23,                // index: 0 bank, 1 program; ptr: void** out; answer: size
    effSetChunk = 24,                // index: 0 bank, 1 program; value: size; ptr: data
    effProcessEvents = 25,           // ptr: VstEvents*
    effCanBeAutomated = 26,          // index
    effString2Parameter = 27,        // index; ptr: text (null: only ask whether it is supported)
    effGetNumProgramCategories = 28, // old
    effGetProgramNameIndexed = 29,   // index: program; ptr: text out
    effCopyProgram = 30,             // old
    effConnectInput = 31,            // old
    effConnectOutput = 32,           // old
    effGetInputProperties = 33,      // index: pin; ptr: VstPinProperties* out
    effGetOutputProperties = 34,     // index: pin; ptr: VstPinProperties* out
    effGetPlugCategory = 35,         // answer: PlugCategory
    effGetCurrentPosition = 36,      // old
    effGetDestinationBuffer = 37,    // old
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,     // value: input VstSpeakerArrangement*; ptr: output one
    effSetBlockSizeAndSampleRate = 43, // old
    effSetBypass = 44,                 // value: 1 bypass on
    effGetEffectName = 45,             // ptr: text out (kMaxEffectNameLen)
    effGetErrorText = 46,              // old
    effGetVendorString = 47,           // ptr: text out (kMaxVendorStrLen)
    effGetProductString = 48,          // ptr: text out (kMaxProductStrLen)
    effGetVendorVersion = 49,          // answer: version
    effVendorSpecific = 50,
    effCanDo = 51,           // ptr: capability text; answer 1 yes, -1 no, 0 unknown
    effGetTailSize = 52,     // answer: samples; 0 unknown, 1 no tail
    effIdle = 53,            // old
    effGetIcon = 54,         // old
    effSetViewPosition = 55, // old
    effGetParameterProperties = 56,
    effKeysRequired = 57,  // old
    effGetVstVersion = 58, // answer: 2400
    effEditKeyDown = 59,
    effEditKeyUp = 60,
    effSetEditKnobMode = 61,
    effGetMidiProgramName = 62,
    effGetCurrentMidiProgram = 63,
    effGetMidiProgramCategory = 64,
    effHasMidiProgramsChanged = 65,
    effGetMidiKeyName = 66,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69, // value: VstSpeakerArrangement** in; ptr: ** out
    effShellGetNextPlugin = 70,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetTotalSampleToProcess = 73,
    effSetPanLaw = 74,
    effBeginLoadBank = 75,
    effBeginLoadProgram = 76,
    effSetProcessPrecision = 77, // value: ProcessPrecision
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79,
};

enum HostOpcode : int32_t
{
    audioMasterAutomate = 0, // index: parameter; opt: new value
    audioMasterVersion = 1,  // answer: the host's VST version (0: no VST2 host)
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterGetTime = 7, // value: TimeInfoFlags wanted; answer: VstTimeInfo*
    audioMasterProcessEvents = 8,
    audioMasterIOChanged = 13,  // numInputs/numOutputs/initialDelay changed
    audioMasterSizeWindow = 15, // index: width; value: height
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetInputLatency = 18,
    audioMasterGetOutputLatency = 19,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetAutomationState = 24,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterVendorSpecific = 35,
    audioMasterCanDo = 37,
    audioMasterGetLanguage = 38,
    audioMasterGetDirectory = 41,
    audioMasterUpdateDisplay = 42, // parameters or programs changed as a whole
    audioMasterBeginEdit = 43,     // index: parameter; a gesture starts
    audioMasterEndEdit = 44,       // index: parameter; the gesture ends
};

// Text buffer sizes the interface documents (terminating zero included).
constexpr int32_t kMaxProgNameLen = 24;
constexpr int32_t kMaxParamStrLen = 8;
constexpr int32_t kMaxVendorStrLen = 64;
constexpr int32_t kMaxProductStrLen = 64;
constexpr int32_t kMaxEffectNameLen = 32;

// Answer of effGetPlugCategory.
enum PlugCategory : int32_t
{
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
    kPlugCategAnalysis = 3,
    kPlugCategMastering = 4,
    kPlugCategSpacializer = 5,
    kPlugCategRoomFx = 6,
    kPlugSurroundFx = 7,
    kPlugCategRestoration = 8,
    kPlugCategOfflineProcess = 9,
    kPlugCategShell = 10,
    kPlugCategGenerator = 11,
};

// Value of effSetProcessPrecision.
enum ProcessPrecision : int32_t
{
    kVstProcessPrecision32 = 0,
    kVstProcessPrecision64 = 1,
};

// The version a 2.4 plug-in reports through effGetVstVersion.
constexpr int32_t kVstVersion = 2400;

} // namespace Vst2
