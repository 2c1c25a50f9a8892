// A Processor built around a DSP object the test made: the Processor's creation hook hands it
// the object waiting in a slot of the test's own type. Terminated and released at scope end.
#pragma once

#include "adapter/processor/Processor.h"

namespace TessalineTest {

template <class Dsp>
struct PendingProcessor
{
    Steinberg::Vst::Vava2DUZ3::Processor* processor = nullptr;
    Dsp* dsp = nullptr;

    explicit PendingProcessor(Dsp* made)
        : dsp(made)
    {
        slot() = made;
        processor = new Steinberg::Vst::Vava2DUZ3::Processor(&take);
    }
    ~PendingProcessor()
    {
        processor->terminate();
        processor->release();
    }
    PendingProcessor(const PendingProcessor&) = delete;
    PendingProcessor& operator=(const PendingProcessor&) = delete;

    Steinberg::Vst::Vava2DUZ3::Processor* operator->() const { return processor; }

private:
    static Dsp*& slot()
    {
        static Dsp* waiting = nullptr;
        return waiting;
    }
    // The creation hook: hands over the waiting object once (nullptr: no DSP object).
    static ::CPlugIn* take()
    {
        Dsp* made = slot();
        slot() = nullptr;
        return made;
    }
};

} // namespace TessalineTest
