// libFuzzer target: arbitrary bytes as the component state, read by setState and by
// setComponentState on one long-lived processor. A stream either fails and changes nothing, or is
// taken and then written back by getState as a complete stream the reader takes again.
#include "adapter/processor/Processor.h"

#include "FuzzStreams.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Steinberg::Vst::Vava2DUZ3;

namespace {
Processor& processor()
{
    static Processor* instance = [] {
        auto* p = new Processor();
        p->initialize(nullptr);
        ProcessSetup setup{kRealtime, kSample32, 1024, 48000.0};
        p->setupProcessing(setup);
        return p;
    }();
    return *instance;
}

void saved(Processor& p, TessalineFuzz::ReusedStream& out)
{
    out.empty();
    if (p.getState(&out) != kResultOk)
        std::abort();
    out.rewind();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Processor& p = processor();
    static TessalineFuzz::ReusedStream before;
    static TessalineFuzz::ReusedStream after;
    for (const bool component : {false, true})
    {
        saved(p, before);
        TessalineFuzz::InputStream stream(data, size);
        const tresult result = component ? p.setComponentState(&stream) : p.setState(&stream);
        saved(p, after);
        if (result != kResultOk)
        {
            // A refused stream leaves every value as it was.
            if (before.getSize() != after.getSize()
                || std::memcmp(before.getData(), after.getData(), static_cast<size_t>(before.getSize())) != 0)
                std::abort();
        }
        else if (p.setState(&after) != kResultOk)
            std::abort(); // what was taken must save as a stream that reads back
    }
    return 0;
}
