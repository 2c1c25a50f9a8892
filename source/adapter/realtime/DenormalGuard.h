// Flushes denormal floats to zero for the lifetime of the guard and restores the caller's
// floating-point control flags afterwards. The convolution's decaying tails would otherwise
// fall into denormal range and slow every multiply by an order of magnitude.
#pragma once

#include <cstdint>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CScopedDenormalFlush
{
public:
    // [audio thread] Sets flush-to-zero and denormals-are-zero (MXCSR bits 15 and 6).
    CScopedDenormalFlush();
    // Puts the caller's flags back exactly as they were.
    ~CScopedDenormalFlush();
    CScopedDenormalFlush(const CScopedDenormalFlush&) = delete;
    CScopedDenormalFlush& operator=(const CScopedDenormalFlush&) = delete;

    // The current control word (0 on machines without one); exposed for tests.
    static uint32_t currentFlags();
    static constexpr uint32_t kFlushToZero = 0x8000;
    static constexpr uint32_t kDenormalsAreZero = 0x0040;

private:
    uint32_t m_uSavedFlags;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
