// The built bundle loaded through the project's host library and driven through the VST3
// process call, stereo, as a host drives it; optionally with every room control moved in every
// block (position, the six volumes and absorptions, decay type).
#pragma once

#include "Convolver.h"

#include "HostInstance.h"
#include "HostModule.h"
#include "HostParameterChanges.h"

#include <memory>

namespace peerbench {

class TessalineRunner final : public Convolver
{
public:
    // Throws std::runtime_error when the bundle cannot be loaded or started.
    TessalineRunner(const TessalineHost::HostModule& module, double sampleRate, int maxBlock, bool automate);
    ~TessalineRunner() override;

    std::string name() const override { return m_bAutomate ? "Tessaline automated" : "Tessaline"; }
    void process(const float* const* in, float* const* out, int frames) override;

private:
    void queueChanges(int frames);

    TessalineHost::HostInstance m_Instance;
    std::unique_ptr<TessalineHost::HostAudioBuffers> m_pBuffers;
    TessalineHost::HostParameterChanges m_Changes;
    bool m_bAutomate;
    long m_nBlock = 0;
};

} // namespace peerbench
