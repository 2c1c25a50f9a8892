// Component state: not stored yet; the state stream joins with the preset handling.
#include "Processor.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

tresult PLUGIN_API Processor::setState(IBStream* /*state*/)
{
    // [main thread]
    return kNotImplemented;
}

tresult PLUGIN_API Processor::getState(IBStream* /*state*/)
{
    // [main thread]
    return kNotImplemented;
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
