// The room reverb DSP object: places the input in a modelled room by convolving each ear
// with a 69632-sample response built from three component tables of the chosen position.
#pragma once

#include "core/CPlugIn.h"
#include "engine/SpectrumPrecision.h"

#include <cstdint>
#include <memory>

class CPartitionedConvolver;
class CDelayLine;

class CTessaline : public CPlugIn
{
public:
    CTessaline();
    ~CTessaline() override;

    bool prepare() override;
    bool processFrame(const float* in, float* out, uint32_t inChannels, uint32_t outChannels) override;
    bool controlChanged(uint32_t uId) override;
    bool postConstruct() override;
    bool processInterleavedBuffer(float* in, float* out, uint32_t unused1, uint32_t unused2,
                                  uint32_t sampleCount) override;
    bool processBuffers(float** in, float** out, uint32_t channels, uint32_t frames) override;
    bool declareControls() override;
    // uiMessage, reportDependentControls and releaseDependentList stay the base's: the room has
    // no dependent controls and no editor messages of its own, so the editor's calls, which
    // may come while audio runs, touch none of its processing state.

    bool skipSilentFrames(uint32_t frames, uint32_t channels) override;
    // A quiet run through both ears in one pass (CTessalineRuns.cpp), while no smoother glides.
    bool processFrameRun(const float* const* in, float* const* out, uint32_t channels,
                         uint32_t frames) override;
    // Empties the four stages and the aligning delays a piece per call (see kForgetBytesPerFrame).
    bool forgetSignal(uint32_t frames) override;

    // Bytes of the room's memory a bypassed frame may zero: about what a processed frame streams
    // through, so emptying the room costs no block more than running it would.
    static constexpr long kForgetBytesPerFrame = 2048;

    // Test switch: never skip, so an instance can be compared with one that does.
    bool m_bNeverSkip = false;
    // Test switch: never take a run, so an instance can be compared with one that does.
    bool m_bFrameByFrame = false;

    // [main thread, not processing] Rebuilds the four stages with their spectra kept at this
    // precision (a double-precision reference for checks and tools) and the room from the
    // current controls; prepare() follows as after construction.
    void useSpectrumPrecision(SpectrumPrecision precision);

    // Control ids (= positions in the control list = host parameter ids).
    enum ControlId : uint32_t
    {
        kGain = 0,
        kPosition = 1,
        kVolLR = 2,
        kAbsLR = 3,
        kVolFB = 4,
        kAbsFB = 5,
        kVolCF = 6,
        kAbsCF = 7,
        kDecayType = 8,
        kStereoMono = 9,
        kLeftRight = 10,
        kControlCount = 11,
    };

    // Engine (owned).
    std::unique_ptr<CPartitionedConvolver> m_pEarlyLeft;
    std::unique_ptr<CPartitionedConvolver> m_pEarlyRight;
    std::unique_ptr<CPartitionedConvolver> m_pLateLeft;
    std::unique_ptr<CPartitionedConvolver> m_pLateRight;
    std::unique_ptr<CDelayLine> m_pLateDelayLeft;
    std::unique_ptr<CDelayLine> m_pLateDelayRight;

    // Controls.
    float m_fGain = 0.5f;
    uint32_t m_uPosition = 0;
    float m_fVolLR = 1.0f;
    float m_fAbsLR = 7.0f;
    float m_fVolFB = 1.0f;
    float m_fAbsFB = 7.0f;
    float m_fVolCF = 1.0f;
    float m_fAbsCF = 7.0f;
    int32_t m_nCurveType = 1;
    uint32_t m_fStereoMono = 0;
    uint32_t m_fLeftRight = 0;

    // The tail that covers the whole room signal at a sample rate, in milliseconds, rounded up
    // so that a host truncating ms / 1000 * rate still gets every sample of it.
    static float tailTimeMs(int32_t sampleRate);

protected:
    // [main thread] Builds the four stages and the aligning delays (construction, a new spectrum
    // precision); a room with other sizes builds its own.
    virtual void createEngine();
    // [main thread] Builds the four responses from the current controls and empties the
    // aligning delays (construction and every prepare).
    virtual void buildRoom();
    // [audio thread] Empties the aligning delays whole (the last step of forgetSignal); a room
    // with other delays empties its own.
    virtual void emptyDelays();
    void buildStage(CPartitionedConvolver& stage);
    // [audio thread] processFrameRun's work, with each early stage followed by its delay where
    // the room has one (null: none); false, nothing done, where the run must go frame by frame.
    bool runEars(const float* const* in, float* const* out, uint32_t channels, uint32_t frames,
                 CDelayLine* earlyDelayLeft, CDelayLine* earlyDelayRight);
    SpectrumPrecision spectrumPrecision() const { return m_SpectrumPrecision; }

private:
    // Frames a run takes per pass: its rows of samples stay in the first-level cache.
    static constexpr uint32_t kRunFrames = 256;
    void runEar(CPartitionedConvolver& early, CPartitionedConvolver& late, CDelayLine& lateDelay,
                CDelayLine* earlyDelay, const double* x, float* out, int n);

    SpectrumPrecision m_SpectrumPrecision = kDefaultSpectrumPrecision;
    // A pass's input of each ear, then one ear's early and late stage outputs and the two
    // delays' outputs.
    double m_RunRows[6][kRunFrames] = {};
    int m_nForgetStage = 0; // the stage forgetSignal works on (4: the delays)
    bool earIsIdle(const CPartitionedConvolver& early, const CPartitionedConvolver& late,
                   const CDelayLine& delay) const;
    float processEar(CPartitionedConvolver& early, CPartitionedConvolver& late, CDelayLine& delay,
                     float input);
};

// The effect's creation function; the host adapter calls postConstruct afterwards.
CPlugIn* createPlugIn();
