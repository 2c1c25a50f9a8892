// What the driver runs side by side: anything that turns stereo blocks of input into stereo
// blocks of room signal, one host block per call.
#pragma once

#include <string>

namespace peerbench {

class Convolver
{
public:
    virtual ~Convolver() = default;
    virtual std::string name() const = 0;
    // One host block: in[0..1] and out[0..1] hold frames samples each.
    virtual void process(const float* const* in, float* const* out, int frames) = 0;
};

} // namespace peerbench
