#include "public.sdk/source/main/pluginfactory.h"

#include "internal/fixedtext.h"

#include "base/source/fobject.h"
#include "pluginterfaces/base/funknown.h"

#include <cstring>
#include <new>

namespace Steinberg {

CPluginFactory* gPluginFactory = nullptr;

namespace {

using StandIn::copyFixedText;

// A copy of the factory information whose texts are all terminated.
PFactoryInfo sanitized(const PFactoryInfo& in)
{
    PFactoryInfo out;
    copyFixedText(out.vendor, in.vendor);
    copyFixedText(out.url, in.url);
    copyFixedText(out.email, in.email);
    out.flags = in.flags;
    return out;
}

// The fields every class record has (id, cardinality, category, name), texts bounded and
// terminated, the rest of out zeroed. In and Out may differ in record version and text width.
template <typename Out, typename In>
void copyBasicInfo(Out& out, const In& in)
{
    out = Out();
    std::memcpy(out.cid, in.cid, sizeof(TUID));
    out.cardinality = in.cardinality;
    copyFixedText(out.category, in.category);
    copyFixedText(out.name, in.name);
}

// A whole version-2 record (8-bit or UTF-16), from a version-2 record of either width.
template <typename Out, typename In>
void copyInfo(Out& out, const In& in)
{
    copyBasicInfo(out, in);
    out.classFlags = in.classFlags;
    copyFixedText(out.subCategories, in.subCategories);
    copyFixedText(out.vendor, in.vendor);
    copyFixedText(out.version, in.version);
    copyFixedText(out.sdkVersion, in.sdkVersion);
}

} // namespace

CPluginFactory::CPluginFactory(const PFactoryInfo& info)
    : factoryInfo(sanitized(info)){FUNKNOWN_CTOR}

    CPluginFactory::~CPluginFactory()
{
    if (gPluginFactory == this)
        gPluginFactory = nullptr;
    if (hostContext)
        hostContext->release();
    FUNKNOWN_DTOR
}

IMPLEMENT_REFCOUNT(CPluginFactory)

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID _iid, void** obj)
{
    QUERY_INTERFACE(_iid, obj, FUnknown::iid, IPluginFactory)
    QUERY_INTERFACE(_iid, obj, IPluginFactory::iid, IPluginFactory)
    QUERY_INTERFACE(_iid, obj, IPluginFactory2::iid, IPluginFactory2)
    QUERY_INTERFACE(_iid, obj, IPluginFactory3::iid, IPluginFactory3)
    *obj = nullptr;
    return kNoInterface;
}

bool CPluginFactory::registerClass(const PClassInfo* info, CreateFunc createFunc, void* context)
{
    if (!info || !createFunc)
        return false;
    PClassInfo2 info2;
    copyBasicInfo(info2, *info);
    return registerClass(&info2, createFunc, context);
}

bool CPluginFactory::registerClass(const PClassInfo2* info, CreateFunc createFunc, void* context)
{
    if (!info || !createFunc)
        return false;
    PClassEntry entry{};
    copyInfo(entry.info8, *info);
    copyInfo(entry.info16, entry.info8);
    entry.isUnicode = false;
    return addClass(entry, createFunc, context);
}

bool CPluginFactory::registerClass(const PClassInfoW* info, CreateFunc createFunc, void* context)
{
    if (!info || !createFunc)
        return false;
    PClassEntry entry{};
    copyInfo(entry.info16, *info);
    entry.isUnicode = true;
    return addClass(entry, createFunc, context);
}

bool CPluginFactory::addClass(PClassEntry& entry, CreateFunc createFunc, void* context)
{
    entry.createFunc = createFunc;
    entry.context = context;
    try
    {
        classes.push_back(entry);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const
{
    TUID wanted;
    cid.toTUID(wanted);
    for (const auto& entry : classes)
        if (std::memcmp(entry.info16.cid, wanted, sizeof(TUID)) == 0)
            return true;
    return false;
}

void CPluginFactory::removeAllClasses() { classes.clear(); }

bool CPluginFactory::validIndex(int32 index) const
{
    return index >= 0 && static_cast<size_t>(index) < classes.size();
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (!info)
        return kInvalidArgument;
    *info = factoryInfo;
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses() { return static_cast<int32>(classes.size()); }

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    if (!info || !validIndex(index))
        return kInvalidArgument;
    const PClassEntry& entry = classes[static_cast<size_t>(index)];
    if (entry.isUnicode)
    {
        *info = PClassInfo();
        return kResultFalse; // no 8-bit description of a UTF-16 registration
    }
    copyBasicInfo(*info, entry.info8);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    if (!info || !validIndex(index))
        return kInvalidArgument;
    const PClassEntry& entry = classes[static_cast<size_t>(index)];
    if (entry.isUnicode)
    {
        *info = PClassInfo2();
        return kResultFalse;
    }
    *info = entry.info8;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
    if (!info || !validIndex(index))
        return kInvalidArgument;
    *info = classes[static_cast<size_t>(index)].info16;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString _iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !_iid)
        return kInvalidArgument;
    for (const auto& entry : classes)
    {
        if (std::memcmp(entry.info16.cid, cid, sizeof(TUID)) != 0)
            continue;
        FUnknown* instance = entry.createFunc(entry.context);
        if (!instance)
            break;
        // The query adds the caller's reference; the creation reference is dropped either way.
        tresult result = instance->queryInterface(_iid, obj);
        instance->release();
        if (result == kResultOk)
            return kResultOk;
        *obj = nullptr;
        break;
    }
    return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* context)
{
    if (context)
        context->addRef();
    if (hostContext)
        hostContext->release();
    hostContext = context;
    return kResultTrue;
}

} // namespace Steinberg
