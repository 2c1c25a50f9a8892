// zita-convolver as a careful user configures it for this job: FFTW plans measured rather than
// estimated, its vector multiply-accumulate, the smallest partition equal to the host block (no extra
// buffering), partitions growing to 8192 with density 0.5, two inputs each convolved with its own 69632-tap
// response. process(true) waits for the partition levels due in the cycle, so running flat out measures all
// the work; their worker threads count in the process's CPU time.
#pragma once

#include "Convolver.h"

#include <memory>
#include <vector>

class Convproc;

namespace peerbench {

class ZitaRunner final : public Convolver
{
public:
    // responses[ear]: the room response of each ear. Throws std::runtime_error when zita refuses.
    ZitaRunner(const std::vector<float>* responses, int block);
    ~ZitaRunner() override;

    std::string name() const override { return "zita-convolver"; }
    void process(const float* const* in, float* const* out, int frames) override;

private:
    std::unique_ptr<Convproc> m_pProc;
    int m_nBlock;
};

} // namespace peerbench
