// libFuzzer target: arbitrary bytes as a .vstpreset file, loaded the way a host loads a preset
// (the preset-file reader hands its component chunk to setState / setComponentState) into one
// long-lived processor. Refused or accepted, the processor must still save a readable state.
#include "adapter/processor/Processor.h"
#include "factory/TessalineIds.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <cstdint>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Processor* p = [] {
        auto* instance = new Processor();
        instance->initialize(nullptr);
        ProcessSetup setup{kRealtime, kSample32, 1024, 48000.0};
        instance->setupProcessing(setup);
        return instance;
    }();
    static const FUID classId = FUID::fromTUID(reinterpret_cast<const char8*>(Tessaline::kProcessorCid));

    MemoryStream file;
    int32 written = 0;
    if (size > 0)
        file.write(const_cast<uint8_t*>(data), static_cast<int32>(size), &written);
    file.seek(0, IBStream::kIBSeekSet, nullptr);
    PresetFile::loadPreset(&file, classId, p, p);

    MemoryStream state;
    if (p->getState(&state) != kResultOk)
        std::abort();
    state.seek(0, IBStream::kIBSeekSet, nullptr);
    if (p->setState(&state) != kResultOk)
        std::abort();
    return 0;
}
