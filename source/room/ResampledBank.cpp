// Resampling the bank once per rate with libsoxr, and the per-rate registry of shared banks.
#include "room/ResampledBank.h"

#include "room/ResponseBank.h"
#include "room/RoomConstants.h"

#include <soxr.h>

#include <iterator>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

namespace {
std::mutex gRegistryMutex; // guards gBanks; never taken on the audio thread
std::map<int, std::weak_ptr<const CResampledBank>> gBanks;
} // namespace

CResampledBank::CResampledBank(const CRoomLayout& layout)
    : m_nTableLength(layout.nResponseLength)
    , m_Samples(static_cast<std::size_t>(kTableCount) * static_cast<std::size_t>(layout.nResponseLength))
{
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT64_I, SOXR_FLOAT64_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1); // one thread: the same bank every time
    const std::size_t wanted = static_cast<std::size_t>(layout.nTableLength);
    const double gain = static_cast<double>(kBankSampleRate) / static_cast<double>(layout.nTableRate);
    for (int k = 0; k < kTableCount; ++k)
    {
        double* out =
            m_Samples.get() + static_cast<std::size_t>(k) * static_cast<std::size_t>(m_nTableLength);
        std::size_t produced = 0;
        // One shot: the whole table in, flushed, and the resampler's own delay taken out, so
        // response time t at the bank's rate is time t here.
        const soxr_error_t failure =
            soxr_oneshot(kBankSampleRate, layout.nTableRate, 1, roomResponseTable(k), kResponseLength,
                         nullptr, out, wanted, &produced, &io, &quality, &runtime);
        if (failure != nullptr)
            throw std::runtime_error(std::string("resampling the room's bank: ") + failure);
        // A response sampled faster sums more samples: scaled by the ratio of the rates, it has
        // the bank's frequency response, and the room is as loud at every rate.
        for (std::size_t n = 0; n < produced; ++n)
            out[n] *= gain;
    }
}

int CResampledBank::tableCount() const { return kTableCount; }

int CResampledBank::positionCount() const { return kPositionCount; }

const double* CResampledBank::table(int k) const
{
    return m_Samples.get() + static_cast<std::size_t>(k) * static_cast<std::size_t>(m_nTableLength);
}

IResponseTables::PositionTables CResampledBank::tablesOf(int position) const
{
    return {fbTableOf(position), lrTableOf(position), cfTableOf(position)};
}

std::shared_ptr<const IResponseTables> acquireRoomTables(const CRoomLayout& layout)
{
    if (layout.nTableRate == kBankSampleRate)
        return {std::shared_ptr<const IResponseTables>(), &roomResponseBank()}; // static: never freed
    std::lock_guard<std::mutex> lock(gRegistryMutex);
    for (auto it = gBanks.begin(); it != gBanks.end();)
        it = it->second.expired() ? gBanks.erase(it) : std::next(it);
    std::shared_ptr<const CResampledBank> bank = gBanks[layout.nTableRate].lock();
    if (!bank)
    {
        // Built apart from its control block, so the registry's weak reference never keeps the
        // samples: they go with the last room that holds them.
        bank = std::shared_ptr<const CResampledBank>(std::make_unique<const CResampledBank>(layout));
        gBanks[layout.nTableRate] = bank;
    }
    return bank;
}

int liveResampledBanks()
{
    std::lock_guard<std::mutex> lock(gRegistryMutex);
    int live = 0;
    for (const auto& entry : gBanks)
        live += entry.second.expired() ? 0 : 1;
    return live;
}
