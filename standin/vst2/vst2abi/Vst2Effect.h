// The VST 2.4 effect record: the one structure a VST2 host and a plug-in share, with the four
// function pointers through which they talk. Written from the interface's published field order
// and sizes; the x86_64 offsets are checked by the tests. Natural alignment (8-byte packing) is
// what Linux hosts were built with, so no packing pragma is needed on the platforms we build for.
#pragma once

#include <cstdint>

namespace Vst2 {

struct AEffect;

// Host and effect calls share one shape: opcode, an index, a pointer-sized value, a pointer and a
// float; the answer is pointer-sized.
using HostCallback = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt);
using DispatcherProc = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt);
using ProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
using ProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs, int32_t sampleFrames);
using SetParameterProc = void (*)(AEffect* effect, int32_t index, float value);
using GetParameterProc = float (*)(AEffect* effect, int32_t index);

// 'VstP', the first field of every valid record.
constexpr int32_t kEffectMagic = ('V' << 24) | ('s' << 16) | ('t' << 8) | 'P';

// Bits of AEffect::flags.
enum EffectFlags : int32_t
{
    effFlagsHasEditor = 1 << 0,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsCanDoubleReplacing = 1 << 12,
};

struct AEffect
{
    int32_t magic;                 // kEffectMagic
    DispatcherProc dispatcher;     // every opcode call from the host
    ProcessProc process;           // accumulating processing (pre-2.4 hosts)
    SetParameterProc setParameter; // normalized 0 .. 1
    GetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;                // EffectFlags
    intptr_t reserved1;           // host's, zero
    intptr_t reserved2;           // host's, zero
    int32_t initialDelay;         // latency in samples
    int32_t realQualities;        // unused
    int32_t offQualities;         // unused
    float ioRatio;                // unused
    void* object;                 // the plug-in's own object
    void* user;                   // free for the host
    int32_t uniqueID;             // the plug-in's registered id
    int32_t version;              // the plug-in's version
    ProcessProc processReplacing; // replacing processing (2.4)
    ProcessDoubleProc processDoubleReplacing;
    char future[56]; // zero
};

} // namespace Vst2
