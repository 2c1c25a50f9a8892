#include "adapter/realtime/DenormalGuard.h"

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#define TESSALINE_HAS_MXCSR 1
#endif

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

uint32_t CScopedDenormalFlush::currentFlags()
{
#ifdef TESSALINE_HAS_MXCSR
    return _mm_getcsr();
#else
    return 0;
#endif
}

CScopedDenormalFlush::CScopedDenormalFlush()
    : m_uSavedFlags(currentFlags())
{
#ifdef TESSALINE_HAS_MXCSR
    _mm_setcsr(m_uSavedFlags | kFlushToZero | kDenormalsAreZero);
#endif
}

CScopedDenormalFlush::~CScopedDenormalFlush()
{
#ifdef TESSALINE_HAS_MXCSR
    _mm_setcsr(m_uSavedFlags);
#endif
}

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
