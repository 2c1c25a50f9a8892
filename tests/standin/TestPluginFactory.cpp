// CPluginFactory stand-in: class records in 8-bit and UTF-16, truncation of over-long texts,
// instance creation, reference counting, the global factory pointer and the host context.
#include "public.sdk/source/main/pluginfactory.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Steinberg;

namespace {

const TUID kCid = INLINE_UID(0x11111111, 0x22222222, 0x33333333, 0x44444444);
const TUID kOtherCid = INLINE_UID(0x55555555, 0x66666666, 0x77777777, 0x88888888);

// A reference-counted object that reports its destruction and answers only IPluginBase.
class Probe : public IPluginBase
{
public:
    explicit Probe(int* destroyed)
        : destroyed(destroyed)
    {}
    virtual ~Probe() { ++*destroyed; }
    tresult PLUGIN_API initialize(FUnknown*) override { return kResultOk; }
    tresult PLUGIN_API terminate() override { return kResultOk; }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        QUERY_INTERFACE(iid, obj, FUnknown::iid, IPluginBase)
        QUERY_INTERFACE(iid, obj, IPluginBase::iid, IPluginBase)
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++refs; }
    uint32 PLUGIN_API release() override
    {
        if (--refs == 0)
        {
            delete this;
            return 0;
        }
        return refs;
    }
    uint32 refs = 1;

private:
    int* destroyed;
};

struct CreateLog
{
    int calls = 0;
    int destroyed = 0;
    bool returnNull = false;
};

FUnknown* createProbe(void* context)
{
    auto* log = static_cast<CreateLog*>(context);
    ++log->calls;
    return log->returnNull ? nullptr : new Probe(&log->destroyed);
}

std::string longText(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += static_cast<char>('a' + i % 26);
    return s;
}

std::string u16ToAscii(const char16* text, size_t max)
{
    std::string s;
    for (size_t i = 0; i < max && text[i]; ++i)
        s += static_cast<char>(text[i]);
    return s;
}

PFactoryInfo makeFactoryInfo()
{
    return PFactoryInfo("Vendor", "https://example.org", "Product 1.0", PFactoryInfo::kUnicode);
}

PClassInfo2 makeInfo2(const TUID cid, const std::string& text)
{
    return PClassInfo2(cid, PClassInfo::kManyInstances, "Audio Module Class", text.c_str(), 0, "FX|Reverb",
                       "", "1.2.3.4", "VST 3.6.6");
}

class FactoryTest : public ::testing::Test
{
protected:
    void SetUp() override { factory = new CPluginFactory(makeFactoryInfo()); }
    void TearDown() override
    {
        if (factory)
            factory->release();
    }
    CPluginFactory* factory = nullptr;
    CreateLog log;
};

TEST_F(FactoryTest, ClassRegisteredIn8BitIsDescribedInAllThreeForms)
{
    PClassInfo2 in = makeInfo2(kCid, "Tessaline");
    ASSERT_TRUE(factory->registerClass(&in, createProbe, &log));
    ASSERT_EQ(factory->countClasses(), 1);

    PClassInfo info1;
    ASSERT_EQ(factory->getClassInfo(0, &info1), kResultOk);
    EXPECT_EQ(0, std::memcmp(info1.cid, kCid, sizeof(TUID)));
    EXPECT_STREQ(info1.category, "Audio Module Class");
    EXPECT_STREQ(info1.name, "Tessaline");
    EXPECT_EQ(info1.cardinality, PClassInfo::kManyInstances);

    PClassInfo2 info2;
    ASSERT_EQ(factory->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.subCategories, "FX|Reverb");
    EXPECT_STREQ(info2.vendor, "");
    EXPECT_STREQ(info2.version, "1.2.3.4");
    EXPECT_STREQ(info2.sdkVersion, "VST 3.6.6");
    EXPECT_EQ(info2.classFlags, 0u);

    PClassInfoW infoW;
    ASSERT_EQ(factory->getClassInfoUnicode(0, &infoW), kResultOk);
    EXPECT_EQ(0, std::memcmp(infoW.cid, kCid, sizeof(TUID)));
    EXPECT_STREQ(infoW.category, "Audio Module Class");
    EXPECT_EQ(u16ToAscii(infoW.name, 64), "Tessaline");
    EXPECT_STREQ(infoW.subCategories, "FX|Reverb");
    EXPECT_EQ(u16ToAscii(infoW.vendor, 64), "");
    EXPECT_EQ(u16ToAscii(infoW.version, 64), "1.2.3.4");
    EXPECT_EQ(u16ToAscii(infoW.sdkVersion, 64), "VST 3.6.6");
    EXPECT_EQ(infoW.cardinality, PClassInfo::kManyInstances);
}

TEST_F(FactoryTest, OverLongTextsAreTruncatedAndTerminatedInEveryField)
{
    // The record constructors fill a field to its last byte without a terminator when the text
    // is too long; the factory must not read past the field nor hand such a field out.
    const std::string text = longText(300);
    PClassInfo2 in(kCid, 1, text.c_str(), text.c_str(), 0, text.c_str(), text.c_str(), text.c_str(),
                   text.c_str());
    ASSERT_TRUE(factory->registerClass(&in, createProbe, &log));

    PClassInfo2 info2;
    ASSERT_EQ(factory->getClassInfo2(0, &info2), kResultOk);
    PClassInfoW infoW;
    ASSERT_EQ(factory->getClassInfoUnicode(0, &infoW), kResultOk);

    struct Field
    {
        const char* name;
        const char8* text8;
        std::string text16;
        size_t width;
    };
    const Field fields[] = {
        {"category", info2.category, infoW.category, 32},
        {"name", info2.name, u16ToAscii(infoW.name, 64), 64},
        {"subCategories", info2.subCategories, infoW.subCategories, 128},
        {"vendor", info2.vendor, u16ToAscii(infoW.vendor, 64), 64},
        {"version", info2.version, u16ToAscii(infoW.version, 64), 64},
        {"sdkVersion", info2.sdkVersion, u16ToAscii(infoW.sdkVersion, 64), 64},
    };
    for (const auto& f : fields)
    {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(f.text8[f.width - 1], 0);
        EXPECT_EQ(std::string(f.text8), text.substr(0, f.width - 1));
        EXPECT_EQ(f.text16, text.substr(0, f.width - 1));
    }
    EXPECT_EQ(infoW.name[63], 0);
    EXPECT_EQ(infoW.sdkVersion[63], 0);
}

TEST(FactoryInfoTest, OverLongFactoryTextsAreTruncated)
{
    const std::string text = longText(400);
    PFactoryInfo in(text.c_str(), text.c_str(), text.c_str(), PFactoryInfo::kUnicode);
    auto* factory = new CPluginFactory(in);
    PFactoryInfo out;
    ASSERT_EQ(factory->getFactoryInfo(&out), kResultOk);
    EXPECT_EQ(std::string(out.vendor), text.substr(0, 63));
    EXPECT_EQ(std::string(out.url), text.substr(0, 255));
    EXPECT_EQ(std::string(out.email), text.substr(0, 127));
    EXPECT_EQ(out.flags, PFactoryInfo::kUnicode);
    EXPECT_EQ(factory->getFactoryInfo(nullptr), kInvalidArgument);
    factory->release();
}

TEST_F(FactoryTest, Version1RecordGetsEmptyVersion2Fields)
{
    PClassInfo in(kCid, PClassInfo::kManyInstances, "Service", longText(100).c_str());
    ASSERT_TRUE(factory->registerClass(&in, createProbe, &log));
    PClassInfo2 info2;
    ASSERT_EQ(factory->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.category, "Service");
    EXPECT_EQ(std::string(info2.name), longText(63));
    EXPECT_STREQ(info2.subCategories, "");
    EXPECT_STREQ(info2.version, "");
}

TEST_F(FactoryTest, UnicodeRegistrationHasNo8BitDescription)
{
    const std::u16string longName(100, u'x');
    PClassInfoW in(kCid, 1, "Audio Module Class", reinterpret_cast<const char16*>(longName.c_str()), 0, "Fx",
                   nullptr, reinterpret_cast<const char16*>(u"1.0"), nullptr);
    ASSERT_TRUE(factory->registerClass(&in, createProbe, &log));

    PClassInfo info1;
    std::memset(info1.name, 0x7F, sizeof(info1.name));
    EXPECT_EQ(factory->getClassInfo(0, &info1), kResultFalse);
    EXPECT_STREQ(info1.name, "");
    PClassInfo2 info2;
    EXPECT_EQ(factory->getClassInfo2(0, &info2), kResultFalse);
    EXPECT_STREQ(info2.name, "");

    PClassInfoW infoW;
    ASSERT_EQ(factory->getClassInfoUnicode(0, &infoW), kResultOk);
    EXPECT_EQ(u16ToAscii(infoW.name, 64), std::string(63, 'x'));
    EXPECT_EQ(u16ToAscii(infoW.version, 64), "1.0");
}

TEST_F(FactoryTest, RefusesIncompleteRegistrationsAndBadIndices)
{
    PClassInfo2 in = makeInfo2(kCid, "A");
    EXPECT_FALSE(factory->registerClass(static_cast<const PClassInfo2*>(nullptr), createProbe));
    EXPECT_FALSE(factory->registerClass(&in, nullptr));
    EXPECT_EQ(factory->countClasses(), 0);
    ASSERT_TRUE(factory->registerClass(&in, createProbe, &log));

    PClassInfo info1;
    PClassInfo2 info2;
    PClassInfoW infoW;
    for (int32 index : {-1, 1, 1000})
    {
        EXPECT_EQ(factory->getClassInfo(index, &info1), kInvalidArgument);
        EXPECT_EQ(factory->getClassInfo2(index, &info2), kInvalidArgument);
        EXPECT_EQ(factory->getClassInfoUnicode(index, &infoW), kInvalidArgument);
    }
    EXPECT_EQ(factory->getClassInfo(0, nullptr), kInvalidArgument);
    EXPECT_TRUE(factory->isClassRegistered(FUID::fromTUID(kCid)));
    EXPECT_FALSE(factory->isClassRegistered(FUID::fromTUID(kOtherCid)));
    factory->removeAllClasses();
    EXPECT_EQ(factory->countClasses(), 0);
}

TEST_F(FactoryTest, CreateInstanceHandsOutTheRequestedInterfaceWithOneReference)
{
    PClassInfo2 in = makeInfo2(kCid, "A");
    ASSERT_TRUE(factory->registerClass(&in, createProbe, &log));
    void* obj = nullptr;
    ASSERT_EQ(factory->createInstance(kCid, IPluginBase::iid, &obj), kResultOk);
    auto* probe = static_cast<Probe*>(static_cast<IPluginBase*>(obj));
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(probe->refs, 1u);
    probe->release();
    EXPECT_EQ(log.destroyed, 1);
}

TEST_F(FactoryTest, CreateInstanceFailuresLeaveNothingBehind)
{
    PClassInfo2 in = makeInfo2(kCid, "A");
    ASSERT_TRUE(factory->registerClass(&in, createProbe, &log));
    void* obj = reinterpret_cast<void*>(1);

    // Unknown class: nothing is created.
    EXPECT_EQ(factory->createInstance(kOtherCid, IPluginBase::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(log.calls, 0);

    // Known class, interface it does not offer: created and destroyed again.
    obj = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->createInstance(kCid, Vst::IComponent::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.destroyed, 1);

    // The creation function yields nothing.
    log.returnNull = true;
    EXPECT_EQ(factory->createInstance(kCid, IPluginBase::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
}

TEST(FactoryLifetimeTest, ReferenceCountingAndGlobalPointer)
{
    auto* factory = new CPluginFactory(makeFactoryInfo());
    gPluginFactory = factory;
    EXPECT_EQ(factory->addRef(), 2u);

    void* obj = nullptr;
    for (const auto* iid :
         {&IPluginFactory::iid, &IPluginFactory2::iid, &IPluginFactory3::iid, &FUnknown::iid})
    {
        ASSERT_EQ(factory->queryInterface(*iid, &obj), kResultOk);
        static_cast<FUnknown*>(obj)->release();
    }
    EXPECT_EQ(factory->queryInterface(Vst::IComponent::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);

    EXPECT_EQ(factory->release(), 1u);
    EXPECT_EQ(gPluginFactory, factory);
    EXPECT_EQ(factory->release(), 0u);
    EXPECT_EQ(gPluginFactory, nullptr);

    // Destroying a factory that is not the global one leaves the global pointer alone.
    auto* global = new CPluginFactory(makeFactoryInfo());
    gPluginFactory = global;
    (new CPluginFactory(makeFactoryInfo()))->release();
    EXPECT_EQ(gPluginFactory, global);
    global->release();
    EXPECT_EQ(gPluginFactory, nullptr);
}

TEST(FactoryLifetimeTest, HostContextIsHeldUntilReplacedOrFactoryDies)
{
    int destroyed = 0;
    auto* first = new Probe(&destroyed);
    auto* second = new Probe(&destroyed);
    auto* factory = new CPluginFactory(makeFactoryInfo());

    EXPECT_EQ(factory->getHostContext(), nullptr);
    EXPECT_EQ(factory->setHostContext(first), kResultTrue);
    EXPECT_EQ(factory->getHostContext(), first);
    EXPECT_EQ(first->refs, 2u);

    factory->setHostContext(second);
    EXPECT_EQ(first->refs, 1u);
    EXPECT_EQ(second->refs, 2u);
    factory->setHostContext(second); // same context again keeps one reference
    EXPECT_EQ(second->refs, 2u);

    factory->release();
    EXPECT_EQ(second->refs, 1u);
    first->release();
    second->release();
    EXPECT_EQ(destroyed, 2);
}

} // namespace
