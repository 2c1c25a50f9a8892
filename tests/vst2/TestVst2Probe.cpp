// The wrapper with an editor, through a probe module loaded via a link the way a VST2 host finds
// it in ~/.vst: the module still finds its own file inside the bundle, the editor opens in the
// host's window, its gesture reaches the host as begin/automate/end and the processor as a new
// value, and its size request reaches the host.
#include "Vst2HostEffect.h"
#include "vst2abi/Vst2Speakers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

using TessalineHost::Vst2HostEffect;
namespace fs = std::filesystem;

class Vst2Probe : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("vst2probe-" + std::to_string(getpid()));
        fs::create_directories(folder);
        link = folder / "Vst2Probe.so";
        fs::create_symlink(PROBE_MODULE, link);
        ASSERT_TRUE(host.create(link.string())) << host.error();
        host.start(48000.0f, 64);
    }
    void TearDown() override
    {
        host.close();
        fs::remove_all(folder);
    }

    // Renders one block of ones; returns the first output sample.
    float renderOnes()
    {
        std::vector<float> in(64, 1.0f), outL(64), outR(64);
        float* ins[2] = {in.data(), in.data()};
        float* outs[2] = {outL.data(), outR.data()};
        host.effect()->processReplacing(host.effect(), ins, outs, 64);
        return outL[0];
    }

    fs::path folder, link;
    Vst2HostEffect host;
};

TEST_F(Vst2Probe, LoadedThroughALinkTheModuleFindsItsBundleFile)
{
    void* library = dlopen(link.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    auto where = reinterpret_cast<const char* (*)()>(dlsym(library, "probeModulePath"));
    ASSERT_NE(where, nullptr);
    EXPECT_EQ(fs::path(where()), fs::canonical(PROBE_MODULE));
    dlclose(library);
}

TEST_F(Vst2Probe, VstPluginMainEntersTheModuleOnce)
{
    // A second effect from the same module.
    Vst2HostEffect second;
    ASSERT_TRUE(second.create(link.string())) << second.error();
    void* library = dlopen(link.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    auto handle = reinterpret_cast<void* (*)()>(dlsym(library, "probeModuleHandle"));
    auto initCalls = reinterpret_cast<int (*)()>(dlsym(library, "probeInitCalls"));
    ASSERT_TRUE(handle && initCalls);
    EXPECT_EQ(handle(), library); // the handle a VST3 host's ModuleEntry would have passed
    EXPECT_EQ(initCalls(), 1);
    dlclose(library);
}

TEST_F(Vst2Probe, DescribedFromTheClassInfo)
{
    EXPECT_EQ(host.text(Vst2::effGetEffectName), "Probe");
    EXPECT_EQ(host.text(Vst2::effGetVendorString), "Probe Vendor");
    EXPECT_EQ(host.dispatch(Vst2::effGetVendorVersion), 1234);
    EXPECT_EQ(host.dispatch(Vst2::effGetPlugCategory), Vst2::kPlugCategEffect);
    EXPECT_EQ(host.effect()->numPrograms, 0); // no program list
    EXPECT_EQ(host.dispatch(Vst2::effSetProgram, 0, 0), 0);
    EXPECT_EQ(host.dispatch(Vst2::effCanDo, 0, 0, const_cast<char*>("bypass")), -1);
    EXPECT_EQ(host.dispatch(Vst2::effSetBypass, 0, 1), 0);
}

TEST_F(Vst2Probe, EditorOpensDrivesAGestureResizesAndCloses)
{
    ASSERT_TRUE(host.effect()->flags & Vst2::effFlagsHasEditor);
    Vst2::ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(Vst2::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 400);
    EXPECT_EQ(rect->bottom - rect->top, 200);
    EXPECT_EQ(host.dispatch(Vst2::effEditOpen, 0, 0, nullptr), 0); // no parent window

    EXPECT_EQ(renderOnes(), 1.0f);
    unsigned long window = 0x1234; // the probe never draws into it
    ASSERT_EQ(host.dispatch(Vst2::effEditOpen, 0, 0, &window), 1);
    EXPECT_EQ(host.dispatch(Vst2::effEditOpen, 0, 0, &window), 0); // already open
    host.calls.clear();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(host.dispatch(Vst2::effEditIdle), 1); // the editor's timer runs here

    // The gesture, in order, with the parameter's index and value.
    std::vector<int32_t> order;
    for (const auto& call : host.calls)
        order.push_back(call.opcode);
    const std::vector<int32_t> expected = {Vst2::audioMasterBeginEdit, Vst2::audioMasterAutomate,
                                           Vst2::audioMasterEndEdit, Vst2::audioMasterSizeWindow};
    ASSERT_EQ(order, expected);
    EXPECT_EQ(host.calls[1].index, 0);
    EXPECT_FLOAT_EQ(host.calls[1].opt, 0.75f);
    EXPECT_EQ(host.calls[3].index, 500);
    EXPECT_EQ(host.calls[3].value, 300);
    EXPECT_FLOAT_EQ(host.effect()->getParameter(host.effect(), 0), 0.75f);
    EXPECT_FLOAT_EQ(renderOnes(), 0.75f); // the processor got the edit at the next block

    ASSERT_EQ(host.dispatch(Vst2::effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 500); // the host agreed, the view took the size
    EXPECT_EQ(host.dispatch(Vst2::effEditClose), 1);
    EXPECT_EQ(host.dispatch(Vst2::effEditIdle), 1);
    // Opens again after closing.
    ASSERT_EQ(host.dispatch(Vst2::effEditOpen, 0, 0, &window), 1);
    EXPECT_EQ(host.dispatch(Vst2::effEditClose), 1);
}

TEST_F(Vst2Probe, ClosingTheEffectWithItsEditorOpen)
{
    unsigned long window = 0x1234;
    ASSERT_EQ(host.dispatch(Vst2::effEditOpen, 0, 0, &window), 1);
    host.close(); // effClose tears the editor down first
}

} // namespace
