// Parameter registration from a DSP object's control list: classes, order, flags and texts.
#include "AdapterFixture.h"
#include "support/ExpectedHostView.h"

#include <cmath>
#include <new>

using namespace AdapterTest;

namespace {
// Controls of every registered kind and data type, a gap, two buttons and two preset names.
FixtureDsp* richFixture()
{
    auto* dsp = new FixtureDsp;
    CControlEntry& gain = dsp->addControl("Gain", 100, kDataFloat, 0.0f, 1.0f, 0.25f);
    gain.nPrecision = 3;
    CControlEntry::setText(gain.szUnits, "dB");
    CControlEntry& mode = dsp->addControl("Mode", 100, kDataUint, 0.0f, 2.0f, 2.0f);
    CControlEntry::setText(mode.szEnumList, "SWITCH_OFF,SWITCH_ON, Third");
    dsp->addControl("Level", 103, kDataFloat, 0.0f, 1.0f, 0.0f);
    dsp->addControl("Freq", 102, kDataFloat, 20.0f, 20000.0f, 1000.0f).bLogControl = true;
    dsp->addControl("Pitch", 104, kDataFloat, 20.0f, 20480.0f, 640.0f).bVoltOctave = true;
    dsp->addControl("Count", 106, kDataInt, 0.0f, 10.0f, 4.0f).nPrecision = 3;
    dsp->addControl("Hidden", 101, kDataFloat, 0.0f, 1.0f, 0.0f);
    dsp->m_ButtonLabels[1] = "";
    dsp->m_ButtonLabels[2] = "Third";
    dsp->m_PresetNames[0] = "Init";
    dsp->m_PresetNames[2] = "Wide";
    return dsp;
}

ParameterInfo infoAt(Processor* processor, int32 index)
{
    ParameterInfo info = {};
    EXPECT_EQ(processor->getParameterInfo(index, info), kResultOk) << "index " << index;
    return info;
}

std::string display(Processor* processor, ParamID id, double v)
{
    String128 text = {};
    EXPECT_EQ(processor->getParamStringByValue(id, v, text), kResultOk) << "id " << id;
    return toUtf8(text);
}
} // namespace

TEST(Registration, ParametersInHostOrderWithTheirRecords)
{
    ProcessorHolder p(richFixture());
    ASSERT_EQ(p->initialize(nullptr), kResultOk);
    ExpectedHostView::expectParameters(p.processor,
                                       ExpectedHostView::hostOrder(
                                           {
                                               {0, "Gain", 1, 0, 0.25},
                                               {1, "Mode", 9, 2, 0.0},
                                               {2, "Level", 2, 0, 0.5},
                                               {3, "Freq", 1, 0, -1.0}, // warped defaults checked below
                                               {4, "Pitch", 1, 0, -1.0},
                                               {5, "Count", 1, 10, 0.4},
                                           },
                                           {{0x8000, "B1", 1, 0, 0.0}, {0x8002, "Third", 1, 0, 0.0}}));
    EXPECT_EQ(toUtf8(infoAt(p.processor, 0).units), "dB");
    EXPECT_EQ(infoAt(p.processor, 1).units[0], 0);
    EXPECT_EQ(p->getParameterObject(6), nullptr);      // unsupported kind: a gap, not a shift
    EXPECT_EQ(p->getParameterObject(0x8001), nullptr); // empty button label
    EXPECT_EQ(p->meterParamIds(), std::vector<int32>{2});
    EXPECT_EQ(p->getParamNormalized(2), 0.0); // meters start silent
}

TEST(Registration, ClassesAndPrecisionShowInTheDisplayTexts)
{
    ProcessorHolder p(richFixture());
    ASSERT_EQ(p->initialize(nullptr), kResultOk);
    const struct
    {
        ParamID id;
        double v;
        const char* text;
    } cases[] = {
        {0, 0.5, "0.500"}, // float control, three decimals
        {1, 0.0, "OFF"},
        {1, 0.5, "ON"},
        {1, 1.0, " Third"},
        {2, 0.5, "-6.021"},   // meter in decibels
        {3, 1.0, "20000.00"}, // log control: plain value on its display curve
        {5, 0.5, "5"},        // integer control: no decimals whatever its precision
        {0x8005, 0.25, "0.25"},
        {0x8000, 1.0, "1"},
        {0x800, 0.5, "0.5"},
        {0x70727374, 0.0, "Init"},
        {0x70727374, 1.0, "Wide"}, // empty slot 1 closes up
    };
    for (const auto& c : cases)
        EXPECT_EQ(display(p.processor, c.id, c.v), c.text) << "id " << c.id << " v " << c.v;
    EXPECT_EQ(display(p.processor, 4, 0.5).substr(0, 3), "640");
}

TEST(Registration, WarpedControlsUseTheirOwnCurves)
{
    ProcessorHolder p(richFixture());
    ASSERT_EQ(p->initialize(nullptr), kResultOk);
    Parameter* freq = p->getParameterObject(3);
    ASSERT_NE(freq, nullptr);
    EXPECT_EQ(freq->getInfo().defaultNormalizedValue, freq->toNormalized(1000.0));
    EXPECT_NEAR(p->normalizedParamToPlain(3, freq->getInfo().defaultNormalizedValue), 1000.0, 0.05);
    EXPECT_NEAR(p->normalizedParamToPlain(3, 0.0039810717), 20.0, 1e-3);
    EXPECT_NEAR(p->getParameterObject(4)->getInfo().defaultNormalizedValue, 0.5, 1e-4);
    EXPECT_NEAR(p->plainParamToNormalized(4, 1280.0), 0.6, 1e-4);
    EXPECT_DOUBLE_EQ(p->normalizedParamToPlain(1, 1.0), 2.0);
    EXPECT_DOUBLE_EQ(p->normalizedParamToPlain(0x8005, 0.5), 0.5);
    // Ids no parameter has pass through unchanged.
    EXPECT_EQ(p->normalizedParamToPlain(0x7777, 0.3), 0.3);
    EXPECT_EQ(p->plainParamToNormalized(0x7777, 123.0), 123.0);
}

TEST(Registration, WithoutDspObjectOnlyBypassAndMidiParameters)
{
    const Processor::PlugInCreator creators[] = {
        []() -> CPlugIn* { return nullptr; },
        []() -> CPlugIn* { throw std::bad_alloc(); },
    };
    for (auto creator : creators)
    {
        auto* processor = new Processor(creator);
        EXPECT_EQ(processor->plugIn(), nullptr);
        EXPECT_EQ(processor->initialize(nullptr), kResultOk);
        ASSERT_EQ(processor->getParameterCount(), 9);
        EXPECT_EQ(infoAt(processor, 0).id, static_cast<ParamID>(kParamBypass));
        EXPECT_EQ(infoAt(processor, 8).id, static_cast<ParamID>(kParamAllNotesOff));
        EXPECT_EQ(processor->getUnitCount(), 1);
        EXPECT_EQ(processor->getProgramListCount(), 0);
        ParamID id = 77;
        EXPECT_EQ(processor->getMidiControllerAssignment(0, 0, 7, id), kResultFalse);
        EXPECT_EQ(id, 77u);
        processor->terminate();
        processor->release();
    }
}

TEST(Registration, ParameterValuesReachTheDspObjectAsMessages)
{
    ProcessorHolder p(richFixture());
    p->sendParamToPlugIn(3, 0.25);
    ASSERT_EQ(p.dsp->uiMessages.size(), 1u);
    const CUiMessage& m = p.dsp->uiMessages[0];
    EXPECT_EQ(m.code, static_cast<uint32_t>(kUiParameterValue));
    EXPECT_EQ(m.paramIndex, 3);
    EXPECT_EQ(m.paramValue, 0.25);
    EXPECT_EQ(m.viewName, nullptr);
    EXPECT_FALSE(m.answer);
}

TEST(Registration, FindControlIndexByOwnId)
{
    ProcessorHolder p(richFixture());
    EXPECT_EQ(p->findControlIndex(100), 0);
    EXPECT_EQ(p->findControlIndex(103), 3);
    EXPECT_EQ(p->findControlIndex(3), -1);        // positions are not ids
    p.dsp->m_ControlList.controlAt(5)->uId = 101; // a duplicate id: the first entry wins
    EXPECT_EQ(p->findControlIndex(101), 1);
}

TEST(Registration, BusesInDeclarationOrder)
{
    ProcessorHolder p(richFixture());
    ASSERT_EQ(p->initialize(nullptr), kResultOk);
    BusInfo bus = {};
    ASSERT_EQ(p->getBusCount(kAudio, kOutput), 1);
    ASSERT_EQ(p->getBusCount(kAudio, kInput), 1);
    ASSERT_EQ(p->getBusCount(kEvent, kInput), 1);
    p->getBusInfo(kAudio, kOutput, 0, bus);
    EXPECT_EQ(toUtf8(bus.name), "Audio Output");
    EXPECT_EQ(bus.channelCount, 2);
    p->getBusInfo(kAudio, kInput, 0, bus);
    EXPECT_EQ(toUtf8(bus.name), "AudioInput");
    p->getBusInfo(kEvent, kInput, 0, bus);
    EXPECT_EQ(toUtf8(bus.name), "Event Input");
    EXPECT_EQ(bus.channelCount, 16);
}

TEST(Registration, SidechainAndOutputOnlyChangeTheInputs)
{
    auto* sidechain = richFixture();
    sidechain->m_bWantSidechain = 1;
    ProcessorHolder withAux(sidechain);
    ASSERT_EQ(withAux->initialize(nullptr), kResultOk);
    ASSERT_EQ(withAux->getBusCount(kAudio, kInput), 2);
    BusInfo bus = {};
    withAux->getBusInfo(kAudio, kInput, 1, bus);
    EXPECT_EQ(toUtf8(bus.name), "AuxInput");
    EXPECT_EQ(bus.busType, kAux);

    auto* instrument = richFixture();
    instrument->m_bOutputOnly = true;
    instrument->m_bWantSidechain = 1;
    ProcessorHolder outputOnly(instrument);
    ASSERT_EQ(outputOnly->initialize(nullptr), kResultOk);
    EXPECT_EQ(outputOnly->getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(outputOnly->getBusCount(kAudio, kOutput), 1);
}

TEST(Registration, OutOfRangeQueriesAreRefusedNotThrown)
{
    ProcessorHolder p(richFixture());
    ASSERT_EQ(p->initialize(nullptr), kResultOk);
    ParameterInfo info = {};
    info.id = 4242;
    EXPECT_EQ(p->getParameterInfo(p->getParameterCount(), info), kResultFalse);
    EXPECT_EQ(p->getParameterInfo(-1, info), kResultFalse);
    EXPECT_EQ(info.id, 4242u);
    // List parameters clamp the value instead of indexing past their strings.
    EXPECT_EQ(display(p.processor, 1, -0.5), "OFF");
    EXPECT_EQ(display(p.processor, 1, 7.0), " Third");
    EXPECT_EQ(display(p.processor, 1, std::nan("")), "OFF");
    EXPECT_EQ(display(p.processor, 0x70727374, 2.0), "Wide");
    String128 text = {};
    EXPECT_EQ(p->getParamStringByValue(0x4444, 0.5, text), kResultFalse);
}
