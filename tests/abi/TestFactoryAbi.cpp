// Factory and class descriptions, entry points and the factory's life cycle, as a host sees them.
#include "AbiFixture.h"

#include <dlfcn.h>

using namespace AbiTest;

TEST_F(Bundle, FactoryInformation)
{
    PFactoryInfo info = {};
    ASSERT_TRUE(module.factoryInfo(info));
    EXPECT_STREQ(info.vendor, "Quorvane");
    EXPECT_STREQ(info.url, "https://quorvane.example");
    EXPECT_STREQ(info.email, "Tessaline " TESSALINE_VERSION);
    EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
}

// The original room first (hosts that take a module's first class get it), then the rate-true
// room: the same record with its own class id and name.
TEST_F(Bundle, TwoClassesDescribedIn8BitAndUtf16)
{
    ASSERT_EQ(module.classCount(), 2);
    PClassInfo2 info = {};
    ASSERT_TRUE(module.classInfo2(0, info));
    EXPECT_EQ(std::memcmp(info.cid, Tessaline::kProcessorCid, 16), 0);
    EXPECT_EQ(info.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(info.category, "Audio Module Class");
    EXPECT_STREQ(info.name, "Tessaline");
    EXPECT_EQ(info.classFlags, 0u);
    EXPECT_STREQ(info.subCategories, "FX|Reverb");
    EXPECT_STREQ(info.vendor, "");
    EXPECT_STREQ(info.version, TESSALINE_VERSION);
    EXPECT_STREQ(info.sdkVersion, "VST 3.6.6");

    PClassInfoW wide = {};
    ASSERT_TRUE(module.classInfoW(0, wide));
    EXPECT_EQ(std::memcmp(wide.cid, Tessaline::kProcessorCid, 16), 0);
    EXPECT_EQ(wide.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(wide.category, "Audio Module Class");
    EXPECT_EQ(toUtf8(wide.name), "Tessaline");
    EXPECT_EQ(wide.classFlags, 0u);
    EXPECT_STREQ(wide.subCategories, "FX|Reverb");
    EXPECT_EQ(toUtf8(wide.vendor), "");
    EXPECT_EQ(toUtf8(wide.version), TESSALINE_VERSION);
    EXPECT_EQ(toUtf8(wide.sdkVersion), "VST 3.6.6");

    PClassInfo basic = {};
    ASSERT_TRUE(module.classInfo(0, basic));
    EXPECT_EQ(std::memcmp(basic.cid, Tessaline::kProcessorCid, 16), 0);
    EXPECT_STREQ(basic.name, "Tessaline");

    PClassInfo2 anyRate = {};
    ASSERT_TRUE(module.classInfo2(1, anyRate));
    EXPECT_EQ(std::memcmp(anyRate.cid, Tessaline::kAnyRateCid, 16), 0);
    EXPECT_NE(std::memcmp(Tessaline::kAnyRateCid, Tessaline::kProcessorCid, 16), 0);
    EXPECT_STREQ(anyRate.name, "Tessaline Any Rate");
    PClassInfo2 same = info;
    std::memcpy(same.cid, anyRate.cid, sizeof same.cid);
    std::memcpy(same.name, anyRate.name, sizeof same.name);
    EXPECT_EQ(std::memcmp(&same, &anyRate, sizeof same), 0) << "every other field as the original's";
    PClassInfoW anyRateWide = {};
    ASSERT_TRUE(module.classInfoW(1, anyRateWide));
    EXPECT_EQ(std::memcmp(anyRateWide.cid, Tessaline::kAnyRateCid, 16), 0);
    EXPECT_EQ(toUtf8(anyRateWide.name), "Tessaline Any Rate");

    PClassInfo2 beyond = {};
    EXPECT_FALSE(module.classInfo2(2, beyond));
}

TEST_F(Bundle, SecondGetPluginFactoryReturnsTheSameObjectWithOneMoreReference)
{
    using GetFactory = IPluginFactory* (*)();
    auto getFactory = reinterpret_cast<GetFactory>(module.symbol("GetPluginFactory"));
    ASSERT_NE(getFactory, nullptr);
    IPluginFactory* factory = module.factory();
    const uint32 before = factory->addRef() - 1;
    factory->release();
    IPluginFactory* again = getFactory();
    EXPECT_EQ(again, factory);
    EXPECT_EQ(factory->addRef(), before + 2);
    factory->release();
    again->release();
}

TEST_F(Bundle, InstancesAreIndependentAndUnknownClassesRefused)
{
    FUnknown* first = nullptr;
    FUnknown* second = nullptr;
    ASSERT_EQ(module.factory()->createInstance(cid(), FUnknown::iid, reinterpret_cast<void**>(&first)),
              kResultOk);
    ASSERT_EQ(module.factory()->createInstance(cid(), FUnknown::iid, reinterpret_cast<void**>(&second)),
              kResultOk);
    EXPECT_NE(first, second);
    first->release();
    second->release();
    TUID other = {};
    FUnknown* none = nullptr;
    EXPECT_NE(module.factory()->createInstance(other, FUnknown::iid, reinterpret_cast<void**>(&none)),
              kResultOk);
    EXPECT_EQ(none, nullptr);
}

TEST_F(Bundle, ModuleHooksAlwaysSucceed)
{
    using Hook = bool (*)();
    auto initDll = reinterpret_cast<Hook>(module.symbol("InitDll"));
    auto exitDll = reinterpret_cast<Hook>(module.symbol("ExitDll"));
    ASSERT_NE(initDll, nullptr);
    ASSERT_NE(exitDll, nullptr);
    EXPECT_TRUE(exitDll());
    EXPECT_TRUE(initDll());
    EXPECT_TRUE(initDll());
    EXPECT_TRUE(exitDll());
    EXPECT_TRUE(exitDll());
}

TEST_F(Bundle, OnlyTheEntryPointsAreVisible)
{
    for (const char* name : {"GetPluginFactory", "ModuleEntry", "ModuleExit", "InitDll", "ExitDll"})
        EXPECT_TRUE(module.exports(name)) << name;
    for (const char* name : {"InitModule", "DeinitModule", "createPlugIn", "gPluginFactory",
                             "_Z12createPlugInv", "_Z10InitModulev", "moduleHandle"})
        EXPECT_FALSE(module.exports(name)) << name;
}

TEST(BundleLifeCycle, FactoryIsRebuiltAfterItsFinalRelease)
{
    // Raw loading, so that this test holds every reference to the factory itself.
    const std::string binary = HostModule::binaryPath(bundlePath());
    void* library = dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Entry = bool (*)(void*);
    using Exit = bool (*)();
    using GetFactory = IPluginFactory* (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(library, "ModuleEntry"));
    auto exit = reinterpret_cast<Exit>(dlsym(library, "ModuleExit"));
    auto getFactory = reinterpret_cast<GetFactory>(dlsym(library, "GetPluginFactory"));
    ASSERT_TRUE(entry && exit && getFactory);
    ASSERT_TRUE(entry(library));

    IPluginFactory* first = getFactory();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->release(), 0u); // the final release destroys it
    IPluginFactory* second = getFactory();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->countClasses(), 2);
    PClassInfo info = {};
    ASSERT_EQ(second->getClassInfo(0, &info), kResultOk);
    EXPECT_EQ(std::memcmp(info.cid, Tessaline::kProcessorCid, 16), 0);
    EXPECT_STREQ(info.name, "Tessaline");
    EXPECT_EQ(second->release(), 0u);

    EXPECT_TRUE(exit());
    dlclose(library);
}
