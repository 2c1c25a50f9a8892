// The host library against a small module built from the stand-ins: loading through the exported
// functions, class descriptions, an instance driven through set-up, processing and state.
#include "HostAudioBuffers.h"
#include "HostEffect.h"
#include "HostInstance.h"
#include "HostModule.h"
#include "HostParameterChanges.h"
#include "HostState.h"
#include "HostStrings.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Steinberg;
using namespace TessalineHost;

namespace {

TEST(HostModuleTest, BinaryPathFollowsTheBundleLayout)
{
    const std::string expected = "/x/Foo.vst3/Contents/" + HostModule::machineName() + "-linux/Foo.so";
    EXPECT_EQ(HostModule::binaryPath("/x/Foo.vst3"), expected);
    EXPECT_EQ(HostModule::binaryPath("/x/Foo.vst3/"), expected);
    EXPECT_FALSE(HostModule::machineName().empty());
}

TEST(HostModuleTest, MissingBundleFailsCleanly)
{
    HostModule module;
    EXPECT_FALSE(module.load("/nonexistent/Nothing.vst3"));
    EXPECT_FALSE(module.isLoaded());
    EXPECT_FALSE(module.error().empty());
    EXPECT_EQ(module.factory(), nullptr);
    EXPECT_EQ(module.classCount(), 0);
}

TEST(HostModuleTest, OpenEffectNeedsALoadedModule)
{
    HostModule module;
    HostInstance instance;
    TUID cid{};
    std::string error;
    EXPECT_FALSE(openEffect(module, instance, cid, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(instance.getController(), nullptr);
}

class ProbeModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module.load(PROBE_BUNDLE)) << module.error();
        ASSERT_TRUE(module.findClass("Audio Module Class", cid));
    }
    HostModule module;
    TUID cid{};
};

TEST_F(ProbeModuleTest, OpenEffectCreatesAndInitializesTheEffectClass)
{
    HostInstance instance;
    TUID opened{};
    std::string error;
    ASSERT_TRUE(openEffect(module, instance, opened, error)) << error;
    EXPECT_EQ(memcmp(opened, cid, sizeof(TUID)), 0);
    EXPECT_NE(instance.getController(), nullptr);
    EXPECT_NE(instance.getProcessor(), nullptr);
}

TEST_F(ProbeModuleTest, ExportsAndClassDescriptions)
{
    for (const char* name : {"ModuleEntry", "ModuleExit", "GetPluginFactory"})
        EXPECT_TRUE(module.exports(name)) << name;
    EXPECT_FALSE(module.exports("InitModule")); // hooks stay inside the module

    PFactoryInfo factoryInfo;
    ASSERT_TRUE(module.factoryInfo(factoryInfo));
    EXPECT_STREQ(factoryInfo.vendor, "Probe Vendor");
    EXPECT_EQ(module.classCount(), 1);
    PClassInfo2 info2;
    ASSERT_TRUE(module.classInfo2(0, info2));
    EXPECT_STREQ(info2.name, "Probe");
    PClassInfoW infoW;
    ASSERT_TRUE(module.classInfoW(0, infoW));
    EXPECT_EQ(toUtf8(infoW.name, 64), "Probe");
    EXPECT_EQ(toUtf8(infoW.sdkVersion, 64), "VST 3.6.6");
    EXPECT_FALSE(module.classInfo2(1, info2));
}

TEST_F(ProbeModuleTest, InstanceProcessesAndKeepsState)
{
    HostInstance instance;
    ASSERT_TRUE(instance.create(module.factory(), cid));
    EXPECT_TRUE(instance.getComponent() && instance.getProcessor() && instance.getController());
    EXPECT_NE(instance.getUnitInfo(), nullptr);
    EXPECT_NE(instance.getConnectionPoint(), nullptr);
    EXPECT_EQ(instance.getMidiMapping(), nullptr);

    ASSERT_EQ(instance.initialize(), kResultOk);
    EXPECT_EQ(instance.setupProcessing(44100.0, 64), kResultOk);
    EXPECT_EQ(instance.setupProcessing(44100.0, 64, Vst::kRealtime, Vst::kSample64), kResultFalse);
    EXPECT_EQ(instance.setBusArrangement(Vst::SpeakerArr::kStereo), kResultTrue);
    ASSERT_EQ(instance.setActive(true), kResultOk);

    HostAudioBuffers buffers(2, 2, 64);
    for (int32 i = 0; i < 64; ++i)
        buffers.input(0)[i] = buffers.input(1)[i] = 1.0f;
    HostParameterChanges in, out;
    in.addChange(0, 10, 0.25);
    ASSERT_EQ(instance.process(buffers, 64, &in, nullptr, &out), kResultOk);
    EXPECT_FLOAT_EQ(buffers.output(1)[63], 0.25f);
    ASSERT_NE(out.find(0), nullptr);
    EXPECT_EQ(out.find(0)->getPointCount(), 1);
    EXPECT_EQ(buffers.data().inputParameterChanges, nullptr); // detached after the call

    std::vector<std::uint8_t> state;
    ASSERT_EQ(saveComponentState(instance.getComponent(), state), kResultOk);
    ASSERT_EQ(state.size(), sizeof(float));
    std::vector<std::uint8_t> half(state.begin(), state.begin() + 2);
    EXPECT_EQ(loadComponentState(instance.getComponent(), half), kResultFalse);
    EXPECT_EQ(loadComponentState(instance.getComponent(), state), kResultOk);
    EXPECT_EQ(instance.handler().restartCount, 1);
    EXPECT_EQ(instance.handler().lastRestartFlags, Vst::kParamValuesChanged);

    instance.destroy();
    EXPECT_FALSE(instance.isCreated());
    module.unload();
    EXPECT_FALSE(module.isLoaded());
}

TEST_F(ProbeModuleTest, NestedLoadsShareOneModule)
{
    HostModule second;
    ASSERT_TRUE(second.load(PROBE_BUNDLE)) << second.error();
    EXPECT_EQ(second.factory(), module.factory()); // one factory per process while it lives
    second.unload();
    PFactoryInfo info;
    EXPECT_TRUE(module.factoryInfo(info)); // the first host's module and factory still work
}

} // namespace
