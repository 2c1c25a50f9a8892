// libFuzzer target: arbitrary bytes as a .vstpreset file, loaded the way a host loads a preset
// (the preset-file reader hands its component chunk to setState / setComponentState) into one
// long-lived processor. Refused or accepted, the processor must still save a readable state.
// The file sits in a stream that behaves like a file: a seek before its start or past its end
// fails. (The SDK's MemoryStream takes any position, and the preset reader seeks to the offsets
// the file names, so a file naming a negative chunk-list offset would read outside the buffer.)
#include "adapter/processor/Processor.h"
#include "factory/TessalineIds.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <cstdint>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

namespace {
class BoundedStream : public MemoryStream
{
public:
    tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result) SMTG_OVERRIDE
    {
        int64 now = 0;
        MemoryStream::tell(&now);
        const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? now : getSize();
        if (pos < -base || pos > getSize() - base)
            return kResultFalse;
        return MemoryStream::seek(pos, mode, result);
    }
};
} // namespace

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

    BoundedStream file;
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
