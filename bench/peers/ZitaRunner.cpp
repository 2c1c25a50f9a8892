#include "ZitaRunner.h"

#include <zita-convolver.h>

#include <cstring>
#include <sched.h>
#include <stdexcept>

namespace peerbench {

ZitaRunner::ZitaRunner(const std::vector<float>* responses, int block)
    : m_pProc(std::make_unique<Convproc>())
    , m_nBlock(block)
{
    // Measured FFTW plans and zita's vectorised multiply-accumulate: its fastest settings.
    m_pProc->set_options(Convproc::OPT_FFTW_MEASURE | Convproc::OPT_VECTOR_MODE);
    const int length = static_cast<int>(responses[0].size());
    if (m_pProc->configure(2, 2, static_cast<unsigned int>(length), static_cast<unsigned int>(block),
                           static_cast<unsigned int>(block), 8192, 0.5f)
        != 0)
        throw std::runtime_error("zita-convolver: configure refused");
    for (unsigned int ear = 0; ear < 2; ++ear)
        m_pProc->impdata_create(ear, ear, 1, const_cast<float*>(responses[ear].data()), 0, length);
    if (m_pProc->start_process(0, SCHED_OTHER) != 0)
        throw std::runtime_error("zita-convolver: start_process failed");
}

ZitaRunner::~ZitaRunner()
{
    m_pProc->stop_process();
    m_pProc->cleanup(); // waits for the worker threads to finish
}

void ZitaRunner::process(const float* const* in, float* const* out, int frames)
{
    const auto bytes = sizeof(float) * static_cast<std::size_t>(frames);
    for (unsigned int ch = 0; ch < 2; ++ch)
        std::memcpy(m_pProc->inpdata(ch), in[ch], bytes);
    m_pProc->process(true);
    for (unsigned int ch = 0; ch < 2; ++ch)
        std::memcpy(out[ch], m_pProc->outdata(ch), bytes);
}

} // namespace peerbench
