// The built bundle, loaded through its exports, rendering audio at 48 kHz in stereo.
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
constexpr double kRate = 48000.0;

class Bundle : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(module.load(TESSALINE_BUNDLE_PATH)) << module.error(); }

    static const TUID& cid()
    {
        static TUID id;
        std::memcpy(id, Tessaline::kProcessorCid, sizeof id);
        return id;
    }

    // An initialized, set-up and active stereo instance.
    void start(HostInstance& instance, double rate = kRate)
    {
        ASSERT_TRUE(instance.create(module.factory(), cid()));
        ASSERT_EQ(instance.initialize(), kResultOk);
        ASSERT_EQ(instance.setBusArrangement(SpeakerArr::kStereo), kResultTrue);
        ASSERT_EQ(instance.setupProcessing(rate, kBlock), kResultOk);
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
};

} // namespace AudioTest
