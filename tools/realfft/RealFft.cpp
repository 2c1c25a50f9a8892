#include "RealFft.h"

namespace TessalineFft {
RealFft::RealFft(int size)
    : m_nSize(size)
    , m_pTime(fftw_alloc_real(static_cast<size_t>(size)))
    , m_pSpectrum(fftw_alloc_complex(static_cast<size_t>(size / 2 + 1)))
    , m_Forward(fftw_plan_dft_r2c_1d(size, m_pTime, m_pSpectrum, FFTW_ESTIMATE))
    ,
    // The inverse overwrites its input; every caller refills the spectrum before using it.
    m_Inverse(fftw_plan_dft_c2r_1d(size, m_pSpectrum, m_pTime, FFTW_ESTIMATE))
{}

RealFft::~RealFft()
{
    fftw_destroy_plan(m_Forward);
    fftw_destroy_plan(m_Inverse);
    fftw_free(m_pSpectrum);
    fftw_free(m_pTime);
}

} // namespace TessalineFft
