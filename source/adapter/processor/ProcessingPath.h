// The Processor's processing path: a block from the host's buses through the DSP object.
#pragma once

#include "adapter/realtime/BypassCrossfade.h"
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
    // [main thread, not processing] After the DSP object was prepared: the bypass settles on
    // `bypass` without a fade, the room being empty.
    void resetBypass(int32 sampleRate, bool bypass) { m_Bypass.reset(sampleRate, bypass); }
    // [audio thread] The block after its parameter changes: bypassed (input copied), as whole
    // buffers or frame by frame; `auxChannels` of the side-chain bus, `meterIds` reported. The
    // bypass is `bypass` from the block's start and follows the points of `bypassQueue` (if
    // any) from their offsets on, crossfading at every switch.
    void runBlock(ProcessData& data, const BlockChannels& channels, bool bypass,
                  IParamValueQueue* bypassQueue, uint32_t auxChannels, const std::vector<int32>& meterIds);
    // [audio thread] No host pointer outlives the block.
    void endBlock();

private:
    // Where a frame-by-frame block stands: its event list and next event, the side-chain, the
    // transport.
    struct FrameRun
    {
        ProcessData& data;
        const BlockChannels& channels;
        uint32_t auxChannels;
        CHostInfo& info;
        bool hasContext;
        double period;
        IEventList* events = nullptr;
        int32 eventCount = 0;
        int32 nextEvent = 0;
        Event event = {};
        bool pending = false;
        void fetch();
    };
    void sendHostInfo(const ProcessData& data, CHostInfo& info, double& period);
    void bypassBlock(const BlockChannels& channels, int32 numSamples);
    void processWholeBlock(ProcessData& data, const BlockChannels& channels, uint32_t auxChannels,
                           const std::vector<int32>& meterIds);
    void processFrames(ProcessData& data, const BlockChannels& channels, uint32_t auxChannels,
                       CHostInfo& info, bool hasContext, double period);
    void beginFrames(FrameRun& run);
    // Frames [from, to) through the DSP object, each mixed with its input by the crossfade
    // when `fade`.
    void runFrames(FrameRun& run, int32 from, int32 to, bool fade);
    // Frames [from, to) bypassed: the input copied, the events due passed over, the transport
    // moved on.
    void skipFrames(FrameRun& run, int32 from, int32 to);
    void processSwitchingBlock(FrameRun& run, bool bypass, IParamValueQueue* bypassQueue);
    // The queue's last readable value, or `bypass` when it has none.
    static bool lastBypassValue(IParamValueQueue& queue, bool bypass);
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
    CBypassCrossfade m_Bypass;
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
