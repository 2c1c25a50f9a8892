// What an editor supplied by the DSP object edits parameters through: the gesture's begin and
// end, and each new normalized value in between.
#pragma once

#include <cstdint>

class CVSTParameterConnector
{
public:
    virtual void beginEdit(uint32_t paramId) = 0;
    virtual void endEdit(uint32_t paramId) = 0;
    virtual void parameterChanged(uint32_t paramId, float normalized) = 0;

protected:
    virtual ~CVSTParameterConnector() = default;
};

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {
using ::CVSTParameterConnector;
} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
