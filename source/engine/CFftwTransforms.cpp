// FFTW's real-to-complex and complex-to-real plans for one size.
#include "engine/CFftwTransforms.h"
#include "engine/FftwPlanner.h"

#include <fftw3.h>

#include <cassert>
#include <new>

namespace {

fftw_complex* asFftw(std::complex<double>* bins) { return reinterpret_cast<fftw_complex*>(bins); }

} // namespace

CFftwTransforms::CFftwTransforms(int n)
    : m_nSize(n)
    , m_Spectrum(static_cast<std::size_t>(n) / 2 + 1)
    , m_Time(static_cast<std::size_t>(n))
    , m_pForward(nullptr)
    , m_pInverse(nullptr)
{
    std::lock_guard<std::mutex> lock(fftwPlannerMutex());
    // FFTW_ESTIMATE plans without touching the buffers; the inverse may overwrite its input.
    m_pForward = fftw_plan_dft_r2c_1d(n, m_Time.get(), asFftw(m_Spectrum.get()), FFTW_ESTIMATE);
    m_pInverse =
        fftw_plan_dft_c2r_1d(n, asFftw(m_Spectrum.get()), m_Time.get(), FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
    if (m_pForward == nullptr || m_pInverse == nullptr)
    {
        if (m_pForward != nullptr)
            fftw_destroy_plan(m_pForward);
        if (m_pInverse != nullptr)
            fftw_destroy_plan(m_pInverse);
        throw std::bad_alloc();
    }
}

CFftwTransforms::~CFftwTransforms()
{
    std::lock_guard<std::mutex> lock(fftwPlannerMutex());
    fftw_destroy_plan(m_pForward);
    fftw_destroy_plan(m_pInverse);
}

const CFftwTransforms::Complex* CFftwTransforms::forward(const double* samples)
{
    assert(fftw_alignment_of(const_cast<double*>(samples)) == fftw_alignment_of(m_Time.get())
           && "FFTW's plans run only on buffers aligned as those they were made on");
    // The real-to-complex plan leaves its input as it was (FFTW's default for it).
    fftw_execute_dft_r2c(m_pForward, const_cast<double*>(samples), asFftw(m_Spectrum.get()));
    return m_Spectrum.get();
}

const double* CFftwTransforms::inverse(Complex* bins)
{
    assert(fftw_alignment_of(reinterpret_cast<double*>(bins))
               == fftw_alignment_of(reinterpret_cast<double*>(m_Spectrum.get()))
           && "FFTW's plans run only on buffers aligned as those they were made on");
    fftw_execute_dft_c2r(m_pInverse, asFftw(bins), m_Time.get());
    return m_Time.get();
}
