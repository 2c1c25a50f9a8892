// The precision in which a convolver stage transforms, keeps its partition spectra and sums
// their products. Single precision halves the memory the multiply-accumulate streams through
// and doubles the products per instruction; the room's output stays within -120 dB of the
// double-precision stages. A build with TESSALINE_DOUBLE_SPECTRA keeps double precision as its default;
// either precision can be asked for per stage (references for checks and tools).
#pragma once

enum class SpectrumPrecision
{
    kSingle,
    kDouble,
};

#if defined(TESSALINE_DOUBLE_SPECTRA) && TESSALINE_DOUBLE_SPECTRA
constexpr SpectrumPrecision kDefaultSpectrumPrecision = SpectrumPrecision::kDouble;
#else
constexpr SpectrumPrecision kDefaultSpectrumPrecision = SpectrumPrecision::kSingle;
#endif
