// The Processor's processing path: a block from the host's buses through the DSP object.
#pragma once

#include "core/CPlugIn.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <atomic>
#include <memory>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CVSTParamUpdateQueue;
class CVSTMidiEventList;

// The objects it hands the DSP object (per-control update queues, the MIDI event list), the
// buses' channels of a block, and the block itself run as bypass, whole buffers or frames, with
// the silent-input shortcut and the meters.
class CProcessingPath
{
public:
    struct BlockChannels
    {
        float* in[2]; // null where the host gave no input channel or flagged it silent
        float* out[2];
        uint32_t count; // channels exchanged with the DSP object (0 .. 2)
    };

    CProcessingPath();
    ~CProcessingPath();
    CProcessingPath(const CProcessingPath&) = delete;
    CProcessingPath& operator=(const CProcessingPath&) = delete;

    // [main thread, not processing] The DSP object every later call works on (not owned; it
    // outlives the processing objects).
    void attach(CPlugIn& plugIn);
    // [main thread, not processing] Builds the MIDI event list (and the update queues of a
    // sample-accurate DSP object) and hands them over; replaces what an earlier call built.
    void createObjects();
    // [main thread, not processing] Takes them back from the DSP object and frees them.
    void releaseObjects();

    // [main thread, not processing] Silent input channels for whole-buffer processing of missing
    // inputs: `frames` samples each; no-op when `keepExisting` and some are there already.
    void allocateSilentInput(int32 frames, bool keepExisting);
    // [main thread] Speakers of the accepted arrangement (1 or 2).
    void setArrangementChannels(int32 channels)
    {
        m_nArrangementChannels.store(channels, std::memory_order_relaxed);
    }

    // Usable channel pointers of a bus: none when the bus, its array or a pointer is missing.
    static uint32_t usableChannels(const AudioBusBuffers* bus, uint32_t wanted);
    // [audio thread] channel count = min(arrangement, output buffers, 2); false: nothing to run.
    bool resolveChannels(const ProcessData& data, BlockChannels& channels) const;
    // [audio thread] A host change of control `id` (the queue's last value, normalized): through
    // the control's update queue when sample-accurate. False when `id` is no control.
    bool applyControlChange(IParamValueQueue& queue, ParamID id, ParamValue value, int32 numSamples);
    // [audio thread] The block after its parameter changes: bypassed (input copied), as whole
    // buffers or frame by frame; `auxChannels` of the side-chain bus, `meterIds` reported.
    void runBlock(ProcessData& data, const BlockChannels& channels, bool bypass, uint32_t auxChannels,
                  const std::vector<int32>& meterIds);
    // [audio thread] No host pointer outlives the block.
    void endBlock();

private:
    void sendHostInfo(const ProcessData& data, CHostInfo& info, double& period);
    void bypassBlock(const BlockChannels& channels, int32 numSamples);
    void processWholeBlock(ProcessData& data, const BlockChannels& channels, uint32_t auxChannels,
                           const std::vector<int32>& meterIds);
    void processFrames(ProcessData& data, const BlockChannels& channels, uint32_t auxChannels,
                       CHostInfo& info, bool hasContext, double period);
    bool skipSilentBlock(ProcessData& data, const BlockChannels& channels, uint32_t auxChannels,
                         CHostInfo& info, bool hasContext, double period);
    void feedSidechainFrame(float* const* aux, uint32_t auxChannels, int32 frame, float* auxFrame);
    void reportMeters(ProcessData& data, bool zero, const std::vector<int32>& meterIds);

    CPlugIn* m_pPlugIn = nullptr; // the attached DSP object
    bool m_bSampleAccurate = false;
    int32 m_nUpdateInterval = 1;                                       // read by the update queues
    std::vector<std::unique_ptr<CVSTParamUpdateQueue>> m_UpdateQueues; // by control position
    std::unique_ptr<CVSTMidiEventList> m_pMidiEventList;
    std::atomic<int32> m_nArrangementChannels{2}; // speakers of the current arrangement
    std::vector<float> m_SilentInput;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
