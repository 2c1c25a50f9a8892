// The VST2 records as an x86_64 host lays them out: sizes and the offsets of the fields a host
// reads. A wrong field order or width here would let a host read garbage from a valid plug-in.
#include "vst2abi/Vst2Effect.h"
#include "vst2abi/Vst2Events.h"
#include "vst2abi/Vst2Speakers.h"
#include "vst2abi/Vst2TimeInfo.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

using namespace Vst2;

#if defined(__x86_64__)
TEST(Vst2Layout, EffectRecord)
{
    EXPECT_EQ(sizeof(AEffect), 192u);
    const struct
    {
        size_t offset, expected;
        const char* field;
    } fields[] = {
        {offsetof(AEffect, magic), 0, "magic"},
        {offsetof(AEffect, dispatcher), 8, "dispatcher"},
        {offsetof(AEffect, process), 16, "process"},
        {offsetof(AEffect, setParameter), 24, "setParameter"},
        {offsetof(AEffect, getParameter), 32, "getParameter"},
        {offsetof(AEffect, numPrograms), 40, "numPrograms"},
        {offsetof(AEffect, numParams), 44, "numParams"},
        {offsetof(AEffect, numInputs), 48, "numInputs"},
        {offsetof(AEffect, numOutputs), 52, "numOutputs"},
        {offsetof(AEffect, flags), 56, "flags"},
        {offsetof(AEffect, reserved1), 64, "reserved1"},
        {offsetof(AEffect, reserved2), 72, "reserved2"},
        {offsetof(AEffect, initialDelay), 80, "initialDelay"},
        {offsetof(AEffect, ioRatio), 92, "ioRatio"},
        {offsetof(AEffect, object), 96, "object"},
        {offsetof(AEffect, user), 104, "user"},
        {offsetof(AEffect, uniqueID), 112, "uniqueID"},
        {offsetof(AEffect, version), 116, "version"},
        {offsetof(AEffect, processReplacing), 120, "processReplacing"},
        {offsetof(AEffect, processDoubleReplacing), 128, "processDoubleReplacing"},
        {offsetof(AEffect, future), 136, "future"},
    };
    for (const auto& f : fields)
        EXPECT_EQ(f.offset, f.expected) << f.field;
}

TEST(Vst2Layout, EventRecords)
{
    EXPECT_EQ(sizeof(VstEvent), 32u);
    EXPECT_EQ(sizeof(VstMidiEvent), 32u);
    EXPECT_EQ(offsetof(VstMidiEvent, deltaFrames), 8u);
    EXPECT_EQ(offsetof(VstMidiEvent, midiData), 24u);
    EXPECT_EQ(offsetof(VstMidiEvent, noteOffVelocity), 29u);
    EXPECT_EQ(sizeof(VstMidiSysexEvent), 48u);
    EXPECT_EQ(offsetof(VstMidiSysexEvent, sysexDump), 32u);
    EXPECT_EQ(offsetof(VstEvents, reserved), 8u);
    EXPECT_EQ(offsetof(VstEvents, events), 16u);
}

TEST(Vst2Layout, TimeInfoPinsSpeakersAndRect)
{
    EXPECT_EQ(sizeof(VstTimeInfo), 88u);
    EXPECT_EQ(offsetof(VstTimeInfo, tempo), 32u);
    EXPECT_EQ(offsetof(VstTimeInfo, cycleEndPos), 56u);
    EXPECT_EQ(offsetof(VstTimeInfo, timeSigNumerator), 64u);
    EXPECT_EQ(offsetof(VstTimeInfo, flags), 84u);
    EXPECT_EQ(sizeof(VstPinProperties), 128u);
    EXPECT_EQ(offsetof(VstPinProperties, flags), 64u);
    EXPECT_EQ(offsetof(VstPinProperties, shortLabel), 72u);
    EXPECT_EQ(sizeof(VstSpeakerProperties), 112u);
    EXPECT_EQ(offsetof(VstSpeakerProperties, type), 80u);
    EXPECT_EQ(offsetof(VstSpeakerArrangement, speakers), 8u);
    EXPECT_EQ(sizeof(VstSpeakerArrangement), 8u + 8u * 112u);
    EXPECT_EQ(sizeof(ERect), 8u);
    EXPECT_EQ(offsetof(ERect, right), 6u);
}
#endif

TEST(Vst2Layout, MagicSpellsVstP) { EXPECT_EQ(kEffectMagic, 0x56737450); }

} // namespace
