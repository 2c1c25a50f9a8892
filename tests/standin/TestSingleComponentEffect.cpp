// SingleComponentEffect stand-in: interfaces, buses and arrangements, processing set-up, the
// answers it leaves "not implemented", and the separation of the component's and the
// controller's setState/getState.
#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include "public.sdk/source/common/memorystream.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A tiny effect: two audio inputs, one output, one event input, one parameter; its component
// state calls are counted so that the controller's slots can be told apart from them.
class TinyEffect : public SingleComponentEffect
{
public:
    explicit TinyEffect(int* destroyed = nullptr)
        : destroyed(destroyed)
    {}
    ~TinyEffect() override
    {
        if (destroyed)
            ++*destroyed;
    }

    tresult PLUGIN_API initialize(FUnknown* context) override
    {
        tresult result = SingleComponentEffect::initialize(context);
        if (result != kResultOk)
            return result;
        addAudioInput(STR16("Main In"), SpeakerArr::kStereo);
        addAudioInput(STR16("Side In"), SpeakerArr::kMono, kAux, 0);
        addAudioOutput(STR16("Main Out"), SpeakerArr::kStereo);
        addEventInput(STR16("Events"), 16);
        parameters.addParameter(STR16("Gain"), nullptr, 0, 0.5, ParameterInfo::kCanAutomate, 7);
        return result;
    }

    tresult PLUGIN_API setState(IBStream*) override
    {
        ++componentSetState;
        return kResultOk;
    }
    tresult PLUGIN_API getState(IBStream*) override
    {
        ++componentGetState;
        return kResultOk;
    }

    const ProcessSetup& setup() const { return processSetup; }

    OBJ_METHODS(TinyEffect, SingleComponentEffect)

    int componentSetState = 0;
    int componentGetState = 0;

private:
    int* destroyed;
};

template <typename I>
I* query(FUnknown* obj)
{
    void* out = nullptr;
    if (obj->queryInterface(I::iid, &out) != kResultOk)
        return nullptr;
    static_cast<FUnknown*>(static_cast<I*>(out))->release(); // the effect outlives the pointer
    return static_cast<I*>(out);
}

class SingleComponentEffectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        effect = new TinyEffect(&destroyed);
        ASSERT_EQ(effect->initialize(nullptr), kResultOk);
        unknown = static_cast<IAudioProcessor*>(effect);
    }
    void TearDown() override
    {
        effect->terminate();
        effect->release();
        EXPECT_EQ(destroyed, 1);
    }

    int destroyed = 0;
    TinyEffect* effect = nullptr;
    FUnknown* unknown = nullptr;
};

TEST_F(SingleComponentEffectTest, OneObjectAnswersAllItsInterfaces)
{
    auto* component = query<IComponent>(unknown);
    auto* processor = query<IAudioProcessor>(unknown);
    auto* controller = query<IEditController>(unknown);
    ASSERT_TRUE(component && processor && controller);
    EXPECT_EQ(static_cast<TinyEffect*>(component), effect);
    EXPECT_EQ(static_cast<TinyEffect*>(processor), effect);
    EXPECT_EQ(static_cast<EditController*>(controller), static_cast<EditController*>(effect));
    EXPECT_NE(query<IEditController2>(unknown), nullptr);
    EXPECT_NE(query<IUnitInfo>(unknown), nullptr);
    EXPECT_NE(query<IConnectionPoint>(unknown), nullptr);
    EXPECT_NE(query<IPluginBase>(unknown), nullptr);
    EXPECT_EQ(query<IMidiMapping>(unknown), nullptr);
}

TEST_F(SingleComponentEffectTest, ComponentAndControllerStateSlotsStayApart)
{
    // Through IComponent the effect's own state calls run; through IEditController the
    // controller's slots stay "not implemented" (all state is component state).
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    IComponent* component = effect;
    IEditController* controller = effect;
    EXPECT_EQ(component->setState(stream), kResultOk);
    EXPECT_EQ(component->getState(stream), kResultOk);
    EXPECT_EQ(controller->setEditorState(stream), kNotImplemented);
    EXPECT_EQ(controller->getEditorState(stream), kNotImplemented);
    EXPECT_EQ(effect->componentSetState, 1);
    EXPECT_EQ(effect->componentGetState, 1);
}

TEST(SingleComponentEffectBaseTest, AnswersItLeavesToSubclasses)
{
    auto* base = new SingleComponentEffect();
    IComponent* component = base;
    IAudioProcessor* processor = base;
    TUID cid;
    RoutingInfo in{}, out{};
    ProcessData data;
    EXPECT_EQ(component->getControllerClassId(cid), kNotImplemented);
    EXPECT_EQ(component->setIoMode(kAdvanced), kNotImplemented);
    EXPECT_EQ(component->getRoutingInfo(in, out), kNotImplemented);
    EXPECT_EQ(component->setState(nullptr), kNotImplemented);
    EXPECT_EQ(component->getState(nullptr), kNotImplemented);
    EXPECT_EQ(component->setActive(true), kResultOk);
    EXPECT_EQ(processor->setProcessing(true), kNotImplemented);
    EXPECT_EQ(processor->process(data), kNotImplemented);
    EXPECT_EQ(processor->getLatencySamples(), 0u);
    EXPECT_EQ(processor->getTailSamples(), kNoTail);
    EXPECT_EQ(query<IEditController2>(static_cast<IAudioProcessor*>(base))->openHelp(false), kResultFalse);
    EXPECT_STREQ(base->isA(), "SingleComponentEffect");
    EXPECT_TRUE(base->isTypeOf("EditControllerEx1"));
    EXPECT_TRUE(base->isTypeOf("EditController"));
    EXPECT_TRUE(base->isTypeOf("FObject"));
    base->release();
}

TEST_F(SingleComponentEffectTest, BusCountsAndDescriptions)
{
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 2);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(effect->getBusCount(kEvent, kOutput), 0);
    EXPECT_EQ(effect->getBusCount(7, kInput), 0);

    BusInfo info{};
    ASSERT_EQ(effect->getBusInfo(kAudio, kInput, 1, info), kResultTrue);
    EXPECT_EQ(info.mediaType, kAudio);
    EXPECT_EQ(info.direction, kInput);
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(info.busType, kAux);
    EXPECT_EQ(info.flags, 0u);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(info.name)), u"Side In");

    ASSERT_EQ(effect->getBusInfo(kEvent, kInput, 0, info), kResultTrue);
    EXPECT_EQ(info.channelCount, 16);
    EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));

    for (int32 index : {-1, 2, 100})
        EXPECT_EQ(effect->getBusInfo(kAudio, kInput, index, info), kInvalidArgument);
    EXPECT_EQ(effect->getBusInfo(kEvent, kOutput, 0, info), kInvalidArgument);
    EXPECT_EQ(effect->getBusInfo(7, kInput, 0, info), kInvalidArgument);
}

TEST_F(SingleComponentEffectTest, ActivateBusChecksItsIndex)
{
    EXPECT_EQ(effect->activateBus(kAudio, kInput, 1, true), kResultTrue);
    EXPECT_EQ(effect->activateBus(kAudio, kInput, -1, true), kResultFalse);
    EXPECT_EQ(effect->activateBus(kAudio, kOutput, 1, true), kResultFalse);
    EXPECT_EQ(effect->activateBus(7, kInput, 0, true), kResultFalse);
}

TEST_F(SingleComponentEffectTest, ArrangementsApplyToDeclaredBusesInOrder)
{
    SpeakerArrangement arr = 0;
    ASSERT_EQ(effect->getBusArrangement(kInput, 1, arr), kResultTrue);
    EXPECT_EQ(arr, SpeakerArr::kMono);

    SpeakerArrangement ins[] = {SpeakerArr::kMono};
    SpeakerArrangement outs[] = {SpeakerArr::kMono};
    EXPECT_EQ(effect->setBusArrangements(ins, 1, outs, 1), kResultTrue);
    effect->getBusArrangement(kInput, 0, arr);
    EXPECT_EQ(arr, SpeakerArr::kMono);
    effect->getBusArrangement(kOutput, 0, arr);
    EXPECT_EQ(arr, SpeakerArr::kMono);
    effect->getBusArrangement(kInput, 1, arr);
    EXPECT_EQ(arr, SpeakerArr::kMono); // untouched second input

    SpeakerArrangement two[] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    EXPECT_EQ(effect->setBusArrangements(two, 1, two, 2), kResultFalse); // one output only
    EXPECT_EQ(effect->setBusArrangements(two, -1, two, 1), kInvalidArgument);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 1, two, 1), kInvalidArgument);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 0, nullptr, 0), kResultTrue);

    EXPECT_EQ(effect->getBusArrangement(kOutput, 1, arr), kResultFalse);
    EXPECT_EQ(effect->getBusArrangement(kInput, -1, arr), kResultFalse);
}

TEST_F(SingleComponentEffectTest, SetupProcessingStores32BitSetUpsOnly)
{
    EXPECT_EQ(effect->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultFalse);

    ProcessSetup setup{kOffline, kSample32, 256, 96000.0};
    EXPECT_EQ(effect->setupProcessing(setup), kResultOk);
    EXPECT_EQ(effect->setup().sampleRate, 96000.0);
    EXPECT_EQ(effect->setup().maxSamplesPerBlock, 256);

    ProcessSetup wide{kRealtime, kSample64, 512, 48000.0};
    EXPECT_EQ(effect->setupProcessing(wide), kResultFalse);
    EXPECT_EQ(effect->setup().sampleRate, 96000.0);
}

TEST_F(SingleComponentEffectTest, TerminateRemovesParametersAndBuses)
{
    EXPECT_EQ(effect->getParameterCount(), 1);
    EXPECT_EQ(effect->terminate(), kResultOk);
    EXPECT_EQ(effect->getParameterCount(), 0);
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 0);
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 0);

    // A second initialize after terminate declares everything anew.
    ASSERT_EQ(effect->initialize(nullptr), kResultOk);
    EXPECT_EQ(effect->getParameterCount(), 1);
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 2);
}

} // namespace
