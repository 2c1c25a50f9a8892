// The rate-true room: CTessaline's controls, presets and state, playing the room as it sounds at
// the bank's rate whatever rate the host runs. Each prepare at a new rate lays the stages out
// for that rate (RoomLayout.h) and plays the bank resampled to it (ResampledBank.h), shared with
// every other rate-true room at that rate. At the bank's rate it is the original room, sample
// for sample.
#pragma once

#include "room/CTessaline.h"
#include "room/RoomLayout.h"

#include <memory>

class CDelayLine;
class IResponseTables;

class CTessalineAnyRate : public CTessaline
{
public:
    CTessalineAnyRate();
    ~CTessalineAnyRate() override;

    // [main thread, not processing] Lays the room out for m_nSampleRate (resampling the bank
    // if no other room holds it at that rate), then prepares as the original room does. If
    // memory runs out the room keeps the layout it had.
    bool prepare() override;
    bool processFrame(const float* in, float* out, uint32_t inChannels, uint32_t outChannels) override;
    bool skipSilentFrames(uint32_t frames, uint32_t channels) override;
    bool processFrameRun(const float* const* in, float* const* out, uint32_t channels,
                         uint32_t frames) override;

    const CRoomLayout& layout() const { return m_Layout; }

    struct Engine; // the stages and delays of one layout (CTessalineAnyRate.cpp)

protected:
    void createEngine() override;
    void buildRoom() override;
    void emptyDelays() override;

private:
    float processEar(CPartitionedConvolver& early, CPartitionedConvolver& late, CDelayLine& earlyDelay,
                     CDelayLine& lateDelay, float input);
    void adoptRate(int sampleRate);
    void adoptEngine(Engine&& e);

    CRoomLayout m_Layout;
    std::shared_ptr<const IResponseTables> m_pTables;
    // After each early stage: the part of the onset its 2c - 1 samples leave (zero at the bank's
    // rate, where it passes the sample through unchanged).
    std::unique_ptr<CDelayLine> m_pEarlyDelayLeft;
    std::unique_ptr<CDelayLine> m_pEarlyDelayRight;
};

// The rate-true room's creation function, beside createPlugIn for the original.
CPlugIn* createAnyRatePlugIn();
