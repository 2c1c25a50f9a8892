// A real FFT of one size through FFTW, with its buffers: fill time() and call forward() for
// the spectrum, or fill spectrum() and call inverse() for N times the samples. Plans are made
// with FFTW_ESTIMATE, which picks the same algorithm on every run, so results repeat bit for bit.
#pragma once

#include <complex>

#include <fftw3.h>

namespace TessalineFft {
class RealFft
{
public:
    explicit RealFft(int size);
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    int size() const { return m_nSize; }
    int bins() const { return m_nSize / 2 + 1; }
    double* time() { return m_pTime; }
    std::complex<double>* spectrum() { return reinterpret_cast<std::complex<double>*>(m_pSpectrum); }

    void forward() { fftw_execute(m_Forward); }
    void inverse() { fftw_execute(m_Inverse); }

private:
    int m_nSize;
    double* m_pTime;
    fftw_complex* m_pSpectrum;
    fftw_plan m_Forward;
    fftw_plan m_Inverse;
};

} // namespace TessalineFft
