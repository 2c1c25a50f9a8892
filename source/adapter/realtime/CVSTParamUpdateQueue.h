// Sample-accurate values of one control within a block, interpolated linearly between the
// host's points on an update grid. Segment state carries over from one block to the next.
#pragma once

#include "core/IParamUpdateQueue.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

namespace Steinberg {
namespace Vst {
namespace Vava2DUZ3 {

class CVSTParamUpdateQueue : public IParamUpdateQueue
{
public:
    // `interval` points at the processor's update grid (samples between updates; 0: points only).
    explicit CVSTParamUpdateQueue(const int32* interval);

    // [audio thread] Binds the block's host queue; the segment carries over.
    void beginBlock(IParamValueQueue* hostQueue, int32 blockSize);
    void endBlock() { m_pHostQueue = nullptr; }

    int32_t getParameterIndex() override;
    bool getValueAtOffset(int32_t sampleOffset, double unused, double* value) override;
    bool getNextValue(double* value) override;

private:
    enum Result
    {
        kNoValue = 0,
        kNewValue = 1,
        kSameValue = 2,
    };
    Result valueAt(int32 n, double& value);
    void advanceSegment();
    bool readPoint(int32 index, int32& offset, double& value) const;
    void setSlope();

    int32 m_nBlockSize = 0;
    double m_dLastValue = 0.0;
    double m_dSlope = 1.0;
    double m_dIntercept = 0.0;
    const int32* m_pInterval;
    int32 m_nPointIndex = 0;
    IParamValueQueue* m_pHostQueue = nullptr;
    int32 m_nSegStart = 0;
    int32 m_nSegEnd = 0;
    double m_dSegStartValue = 0.0;
    double m_dSegEndValue = 0.0;
    bool m_bLastSegment = false;
    int32 m_nCursor = 0;
    bool m_bExhausted = false; // the host queue has no point beyond the current segment
};

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
