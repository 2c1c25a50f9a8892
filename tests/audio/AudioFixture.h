// The built bundle, loaded through its exports, rendering audio in stereo: the original room at
// 48 kHz, and the rate-true room at the bank's rate and at 96 kHz.
#pragma once

#include "HostAudioBuffers.h"
#include "HostEventList.h"
#include "HostInstance.h"
#include "HostModule.h"
#include "HostParameterChanges.h"
#include "HostState.h"
#include "HostStrings.h"
#include "factory/TessalineIds.h"
#include "room/RoomConstants.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace AudioTest {

using namespace Steinberg;
using namespace Steinberg::Vst;
using TessalineHost::HostAudioBuffers;
using TessalineHost::HostInstance;
using TessalineHost::HostModule;
using TessalineHost::HostParameterChanges;

constexpr int32 kBlock = 256;

// Which class of the bundle a test runs, and at which rate.
struct ClassAtRate
{
    const char* name;
    const uint8_t* cid;
    double rate;
    bool rateTrue; // the rate-true room: its times scale with the rate
};
inline void PrintTo(const ClassAtRate& c, std::ostream* os) { *os << c.name; }

class Bundle : public ::testing::TestWithParam<ClassAtRate>
{
protected:
    void SetUp() override { ASSERT_TRUE(module.load(TESSALINE_BUNDLE_PATH)) << module.error(); }

    TUID& cid()
    {
        std::memcpy(id, GetParam().cid, sizeof id);
        return id;
    }
    double rate() const { return GetParam().rate; }
    // Samples from the input to the room signal: the bank-rate onset, in time for the rate-true
    // room (rounded to the nearest sample).
    int32 onset() const { return scaled(kRoomDelay, rate()); }
    // The room signal's length after the input at a rate.
    int32 roomSamples(double atRate) const { return scaled(kRoomDelay + kResponseLength, atRate); }

    // An initialized, set-up and active stereo instance.
    void start(HostInstance& instance) { start(instance, rate()); }
    void start(HostInstance& instance, double atRate)
    {
        ASSERT_TRUE(instance.create(module.factory(), cid()));
        ASSERT_EQ(instance.initialize(), kResultOk);
        ASSERT_EQ(instance.setBusArrangement(SpeakerArr::kStereo), kResultTrue);
        ASSERT_EQ(instance.setupProcessing(atRate, kBlock), kResultOk);
        ASSERT_EQ(instance.setActive(true), kResultOk);
    }

    // Renders `frames` of input (channel 0 = `left`, channel 1 = `right`, silence past their
    // end) block by block; returns the interleaved-free left and right outputs.
    static void render(HostInstance& instance, const std::vector<float>& left,
                       const std::vector<float>& right, int32 frames, std::vector<float>& outL,
                       std::vector<float>& outR, HostParameterChanges* changesAtStart = nullptr)
    {
        HostAudioBuffers buffers(2, 2, kBlock);
        outL.assign(static_cast<size_t>(frames), 0.0f);
        outR.assign(static_cast<size_t>(frames), 0.0f);
        for (int32 start = 0; start < frames; start += kBlock)
        {
            const int32 n = std::min(kBlock, frames - start);
            for (int32 i = 0; i < n; ++i)
            {
                const auto at = static_cast<size_t>(start + i);
                buffers.input(0)[i] = at < left.size() ? left[at] : 0.0f;
                buffers.input(1)[i] = at < right.size() ? right[at] : 0.0f;
            }
            ASSERT_EQ(instance.process(buffers, n, start == 0 ? changesAtStart : nullptr), kResultOk);
            std::memcpy(outL.data() + start, buffers.output(0), sizeof(float) * static_cast<size_t>(n));
            std::memcpy(outR.data() + start, buffers.output(1), sizeof(float) * static_cast<size_t>(n));
        }
    }

    HostModule module;

private:
    int32 scaled(int32 samples, double atRate) const
    {
        return GetParam().rateTrue ? static_cast<int32>(samples * atRate / kBankSampleRate + 0.5) : samples;
    }
    TUID id = {};
};

} // namespace AudioTest
