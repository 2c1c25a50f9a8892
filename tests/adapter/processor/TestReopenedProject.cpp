// A project reopened by a host that restores the states and then sets every parameter value it
// stored beside them again, the program-change parameter included: the program chosen before the
// last edits must not come back over them, and choosing a program afterwards still applies it.
#include "ProcessFixture.h"

#include <algorithm>
#include <string>
#include <utility>

using namespace AdapterTest;

namespace {

// Through the controller, or as the parameter changes of one block.
enum class Via
{
    kController,
    kBlock
};

using HostValues = std::vector<std::pair<ParamID, ParamValue>>;

std::vector<uint8_t> controllerState(Processor* processor)
{
    Steinberg::MemoryStream stream;
    EXPECT_EQ(processor->getEditorState(&stream), kResultOk);
    const auto* bytes = reinterpret_cast<const uint8_t*>(stream.getData());
    return std::vector<uint8_t>(bytes, bytes + stream.getSize());
}

// What a host stores beside the states: every automatable parameter's value and the program's.
HostValues storedValues(Processor* processor)
{
    HostValues values;
    for (int32 k = 0; k < processor->getParameterCount(); ++k)
    {
        ParameterInfo info{};
        EXPECT_EQ(processor->getParameterInfo(k, info), kResultOk);
        if ((info.flags & ParameterInfo::kIsReadOnly) == 0
            && (info.flags & (ParameterInfo::kCanAutomate | ParameterInfo::kIsProgramChange)) != 0)
            values.emplace_back(info.id, processor->getParamNormalized(info.id));
    }
    return values;
}

void setValues(ProcessRig& rig, const HostValues& values, Via via)
{
    rig.changes.clear();
    for (const auto& [id, value] : values)
    {
        if (via == Via::kController)
        {
            EXPECT_EQ(rig->setParamNormalized(id, value), kResultOk) << id;
        }
        else
        {
            EXPECT_TRUE(rig.changes.addChange(id, 0, value)) << id;
        }
    }
    rig.run(8);
    rig.changes.clear();
}

// A rig with room in its block for a change of every parameter; its Choice control names its
// eleven entries, as a list control does.
struct WideRig : ProcessRig
{
    WideRig()
        : ProcessRig(listDsp())
    {
        changes = TessalineHost::HostParameterChanges(64, 4);
    }
    static RecordingDsp* listDsp()
    {
        RecordingDsp* dsp = standardDsp();
        CControlEntry::setText(dsp->m_ControlList.controlAt(1)->szEnumList,
                               "c0,c1,c2,c3,c4,c5,c6,c7,c8,c9,c10");
        dsp->buildControlTables();
        return dsp;
    }
};

const char* nameOf(Via via) { return via == Via::kController ? "controller" : "block"; }

} // namespace

TEST(ReopenedProject, TheProgramChosenBeforeTheEditsIsNotAppliedAgain)
{
    struct Replay
    {
        Via via;
        bool reversed; // the program-change parameter, registered last, then comes first
    };
    const Replay replays[] = {{Via::kController, false}, {Via::kController, true}, {Via::kBlock, false}};
    for (Via choice : {Via::kController, Via::kBlock})
    {
        for (const Replay& replay : replays)
        {
            SCOPED_TRACE(std::string("program chosen through the ") + nameOf(choice)
                         + ", values set again through the " + nameOf(replay.via)
                         + (replay.reversed ? ", last first" : ""));
            // The program at position 1 (Gain 0.75, Choice 7, Count 3), then Gain edited to 0.6.
            WideRig saved;
            setValues(saved, {{kParamFactoryPresets, 1.0}}, choice);
            setValues(saved, {{0, 0.6}}, choice);
            ASSERT_EQ(saved.dsp->values[0], 0.6f);
            ASSERT_EQ(saved.dsp->choices[1], 7u);
            const std::vector<uint8_t> component = saveState(saved.holder.processor);
            const std::vector<uint8_t> controller = controllerState(saved.holder.processor);
            HostValues values = storedValues(saved.holder.processor);
            ASSERT_EQ(values.back().first, kParamFactoryPresets);
            EXPECT_EQ(values.back().second, 1.0);
            if (replay.reversed)
                std::reverse(values.begin(), values.end());

            // Reopened as VST3 hosts restore: the component state both ways, then the controller's.
            WideRig reopened;
            ASSERT_EQ(reopened->setState(streamOf(component)), kResultOk);
            ASSERT_EQ(reopened->setComponentState(streamOf(component)), kResultOk);
            ASSERT_EQ(reopened->setEditorState(streamOf(controller)), kResultOk);
            setValues(reopened, values, replay.via);
            EXPECT_EQ(reopened.dsp->values[0], 0.6f);
            EXPECT_EQ(reopened.dsp->choices[1], 7u);
            EXPECT_EQ(reopened.dsp->integers[2], 3);
            EXPECT_NEAR(reopened->getParamNormalized(0), 0.6, 1e-6);
            EXPECT_EQ(reopened->getParamNormalized(kParamFactoryPresets), 1.0); // the program's name shows
            EXPECT_EQ(saveState(reopened.holder.processor), component);

            // Choosing a program is still applied, the one shown included once another came between.
            setValues(reopened, {{kParamFactoryPresets, 0.0}}, replay.via);
            EXPECT_EQ(reopened.dsp->values[0], 0.25f);
            setValues(reopened, {{kParamFactoryPresets, 1.0}}, replay.via);
            EXPECT_EQ(reopened.dsp->values[0], 0.75f);
        }
    }
}

TEST(ReopenedProject, AControllerStateThatNamesNoProgramOfTheListChangesNothing)
{
    std::vector<uint8_t> position2 = {'p', 'r', 's', 't'};
    putLE(position2, int32_t{2});
    std::vector<uint8_t> negative = {'p', 'r', 's', 't'};
    putLE(negative, int32_t{-1});
    std::vector<uint8_t> foreign = {'P', 'R', 'S', 'T'};
    putLE(foreign, int32_t{1});
    const std::vector<uint8_t> refused[] = {{}, {'p', 'r', 's', 't', 1, 0, 0}, foreign, position2, negative};
    for (const std::vector<uint8_t>& bytes : refused)
    {
        SCOPED_TRACE(testing::PrintToString(bytes));
        WideRig rig;
        EXPECT_EQ(rig->setEditorState(streamOf(bytes)), kResultFalse);
        EXPECT_EQ(rig->getParamNormalized(kParamFactoryPresets), 0.0);
        // No program was taken as in effect: choosing the one at position 1 applies it.
        setValues(rig, {{kParamFactoryPresets, 1.0}}, Via::kController);
        EXPECT_EQ(rig.dsp->values[0], 0.75f);
    }
}

TEST(ReopenedProject, AComponentStateNamesNoProgramSoTheNextChoiceApplies)
{
    // The program in effect, then a state from before it through either reader: choosing that
    // program again applies it.
    using Reader = tresult (PLUGIN_API Processor::*)(IBStream*);
    const std::pair<const char*, Reader> readers[] = {{"setState", &Processor::setState},
                                                      {"setComponentState", &Processor::setComponentState}};
    WideRig rig;
    const std::vector<uint8_t> before = saveState(rig.holder.processor);
    for (const auto& [name, reader] : readers)
    {
        SCOPED_TRACE(name);
        setValues(rig, {{kParamFactoryPresets, 1.0}}, Via::kController);
        ASSERT_EQ(rig.dsp->values[0], 0.75f);
        ASSERT_EQ((rig.holder.processor->*reader)(streamOf(before)), kResultOk);
        rig.run(8);
        ASSERT_EQ(rig.dsp->values[0], 0.5f);
        EXPECT_EQ(rig->getParamNormalized(kParamFactoryPresets), 1.0); // still named
        setValues(rig, {{kParamFactoryPresets, 1.0}}, Via::kController);
        EXPECT_EQ(rig.dsp->values[0], 0.75f);
    }
}
