#include "Vst2HostEffect.h"

#include <dlfcn.h>

namespace TessalineHost {

namespace {
// The effect being created: its callback calls arrive before the record can point back to us.
Vst2HostEffect* creating = nullptr;
} // namespace

Vst2HostEffect::~Vst2HostEffect() { close(); }

bool Vst2HostEffect::create(const std::string& modulePath, int32_t hostVersion, const char* entry)
{
    close();
    version = hostVersion;
    library = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
    {
        lastError = std::string("cannot open ") + modulePath + ": " + dlerror();
        return false;
    }
    using Entry = Vst2::AEffect* (*)(Vst2::HostCallback);
    auto main = reinterpret_cast<Entry>(dlsym(library, entry));
    if (!main)
    {
        lastError = std::string("no ") + entry + " in " + modulePath;
        close();
        return false;
    }
    creating = this;
    aeffect = main(&Vst2HostEffect::hostCallback);
    creating = nullptr;
    if (!aeffect)
    {
        lastError = std::string(entry) + " returned no effect";
        close();
        return false;
    }
    aeffect->user = this;
    return true;
}

void Vst2HostEffect::close()
{
    if (aeffect)
        aeffect->dispatcher(aeffect, Vst2::effClose, 0, 0, nullptr, 0.0f);
    aeffect = nullptr;
    if (library)
        dlclose(library);
    library = nullptr;
}

intptr_t Vst2HostEffect::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return aeffect ? aeffect->dispatcher(aeffect, opcode, index, value, ptr, opt) : 0;
}

void Vst2HostEffect::start(float sampleRate, int32_t blockSize)
{
    dispatch(Vst2::effOpen);
    dispatch(Vst2::effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(Vst2::effSetBlockSize, 0, blockSize);
    dispatch(Vst2::effMainsChanged, 0, 1);
}

std::string Vst2HostEffect::text(int32_t opcode, int32_t index)
{
    // Room for what hosts usually reserve, so that an overlong answer would show.
    char buffer[256] = {};
    dispatch(opcode, index, 0, buffer);
    return buffer;
}

int32_t Vst2HostEffect::findParameter(const std::string& title)
{
    for (int32_t k = 0; aeffect && k < aeffect->numParams; ++k)
        if (text(Vst2::effGetParamName, k) == title)
            return k;
    return -1;
}

size_t Vst2HostEffect::callCount(int32_t opcode) const
{
    size_t n = 0;
    for (const Call& call : calls)
        n += call.opcode == opcode ? 1 : 0;
    return n;
}

intptr_t Vst2HostEffect::hostCallback(Vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                      void* ptr, float opt)
{
    auto* self = (effect && effect->user) ? static_cast<Vst2HostEffect*>(effect->user) : creating;
    return self ? self->answer(opcode, index, value, ptr, opt) : 0;
}

intptr_t Vst2HostEffect::answer(int32_t opcode, int32_t index, intptr_t value, void*, float opt)
{
    switch (opcode)
    {
    case Vst2::audioMasterVersion: return version;
    case Vst2::audioMasterGetTime:
        // The audio thread asks each block; it is not recorded, keeping the record list stable.
        return provideTime ? reinterpret_cast<intptr_t>(&timeInfo) : 0;
    default: break;
    }
    calls.push_back({opcode, index, value, opt});
    return opcode == Vst2::audioMasterSizeWindow ? sizeWindowAnswer : 0;
}

} // namespace TessalineHost
