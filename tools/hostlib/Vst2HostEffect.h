// A VST2 host in miniature: opens a module with dlopen, creates effects through its
// VSTPluginMain with a host callback of ours, and talks to them through the effect record only
// (dispatcher, processing and parameter entries). The callback answers a host version and a
// transport record, and records every call for the tests to inspect.
#pragma once

#include "vst2abi/Vst2Effect.h"
#include "vst2abi/Vst2Opcodes.h"
#include "vst2abi/Vst2TimeInfo.h"

#include <cstdint>
#include <string>
#include <vector>

namespace TessalineHost {

class Vst2HostEffect
{
public:
    struct Call
    {
        int32_t opcode;
        int32_t index;
        intptr_t value;
        float opt;
    };

    Vst2HostEffect() = default;
    ~Vst2HostEffect();
    Vst2HostEffect(const Vst2HostEffect&) = delete;
    Vst2HostEffect& operator=(const Vst2HostEffect&) = delete;

    // Loads the module file and creates one effect through `entry` ("VSTPluginMain" or "main"),
    // answering hostVersion to the version query. False with error() set when the module or the
    // entry is missing or no effect is returned.
    bool create(const std::string& modulePath, int32_t hostVersion = 2400,
                const char* entry = "VSTPluginMain");
    // effClose (the effect is gone afterwards), then the module is closed.
    void close();

    Vst2::AEffect* effect() const { return aeffect; }
    const std::string& error() const { return lastError; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // effOpen, rate, block size, mains on.
    void start(float sampleRate, int32_t blockSize);
    std::string text(int32_t opcode, int32_t index = 0);
    // Index of the parameter whose name is title, or -1.
    int32_t findParameter(const std::string& title);

    // Host callback calls seen so far; count of one opcode.
    std::vector<Call> calls;
    size_t callCount(int32_t opcode) const;

    // The transport record answered to audioMasterGetTime (null when provideTime is false).
    Vst2::VstTimeInfo timeInfo{};
    bool provideTime = true;
    // Answer to audioMasterSizeWindow.
    intptr_t sizeWindowAnswer = 1;

private:
    static intptr_t hostCallback(Vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                 void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    void* library = nullptr;
    Vst2::AEffect* aeffect = nullptr;
    int32_t version = 2400;
    std::string lastError;
};

} // namespace TessalineHost
