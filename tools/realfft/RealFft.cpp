#include "RealFft.h"

#include "engine/FftwPlanner.h"

#include <mutex>

namespace TessalineFft {
namespace {

// Plans under the process's planner lock: the engine's stages may be planning on another thread.
fftw_plan planForward(int size, double* time, fftw_complex* spectrum)
{
    std::lock_guard<std::mutex> lock(fftwPlannerMutex());
    return fftw_plan_dft_r2c_1d(size, time, spectrum, FFTW_ESTIMATE);
}

fftw_plan planInverse(int size, fftw_complex* spectrum, double* time)
{
    std::lock_guard<std::mutex> lock(fftwPlannerMutex());
    return fftw_plan_dft_c2r_1d(size, spectrum, time, FFTW_ESTIMATE);
}

} // namespace

RealFft::RealFft(int size)
    : m_nSize(size)
    , m_pTime(fftw_alloc_real(static_cast<size_t>(size)))
    , m_pSpectrum(fftw_alloc_complex(static_cast<size_t>(size / 2 + 1)))
    , m_Forward(planForward(size, m_pTime, m_pSpectrum))
    ,
    // The inverse overwrites its input; every caller refills the spectrum before using it.
    m_Inverse(planInverse(size, m_pSpectrum, m_pTime))
{}

RealFft::~RealFft()
{
    {
        std::lock_guard<std::mutex> lock(fftwPlannerMutex());
        fftw_destroy_plan(m_Forward);
        fftw_destroy_plan(m_Inverse);
    }
    fftw_free(m_pSpectrum);
    fftw_free(m_pTime);
}

} // namespace TessalineFft
