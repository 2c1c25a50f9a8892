// libFuzzer target: arbitrary bytes as a .vstpreset file, loaded the way a host loads a preset
// (the preset-file reader hands its component chunk to setState / setComponentState) into one
// long-lived processor. Refused or accepted, the processor must still save a readable state.
// The file is read in place from a stream that behaves like a file: a seek before its start or
// past its end fails. (The SDK's MemoryStream takes any position, and the preset reader seeks to
// the offsets the file names, so a file naming a negative chunk-list offset would read outside
// the buffer.)
#include "adapter/processor/Processor.h"
#include "factory/TessalineIds.h"

#include "FuzzStreams.h"

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

    TessalineFuzz::InputStream file(data, size);
    PresetFile::loadPreset(&file, classId, p, p);

    static TessalineFuzz::ReusedStream state;
    state.empty();
    if (p->getState(&state) != kResultOk)
        std::abort();
    state.rewind();
    if (p->setState(&state) != kResultOk)
        std::abort();
    return 0;
}
