// The bank's 33 tables resampled to one session rate, and the registry that keeps one such bank
// per rate in use: every rate-true room at that rate shares it, and the last one to let it go
// frees it. Banks are built and released on the main thread only (setup and activation).
#pragma once

#include "engine/AlignedArray.h"
#include "engine/IResponseTables.h"
#include "room/RoomLayout.h"

#include <memory>

class CResampledBank final : public IResponseTables
{
public:
    // [main thread] Resamples every table from the bank's rate to layout.nTableRate with libsoxr
    // (very high quality, double precision) into layout.nResponseLength samples, zeros after the
    // resampled length, scaled by the ratio of the rates so the frequency response stays the bank's. Throws
    // std::bad_alloc when memory runs out, std::runtime_error when libsoxr refuses.
    explicit CResampledBank(const CRoomLayout& layout);

    int tableCount() const override;
    int positionCount() const override;
    const double* table(int k) const override;
    PositionTables tablesOf(int position) const override;

    int tableLength() const { return m_nTableLength; }
    long bytes() const { return static_cast<long>(m_Samples.size() * sizeof(double)); }

private:
    int m_nTableLength;
    AlignedArray<double> m_Samples;
};

// [main thread] The tables a rate-true room plays for its layout: the embedded bank itself when
// the layout plays the tables at the bank's rate, else the shared resampled bank for that rate,
// built now if no room holds it. Throws as CResampledBank's constructor does.
std::shared_ptr<const IResponseTables> acquireRoomTables(const CRoomLayout& layout);

// [any thread] Resampled banks alive now (each counted once however many rooms share it).
int liveResampledBanks();
