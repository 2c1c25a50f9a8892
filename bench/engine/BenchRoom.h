// The room's engine wired as the effect wires it: early and late stage per ear and a
// 256-sample delay after each late stage, for benchmarks.
#pragma once

#include "engine/CDelayLine.h"
#include "engine/CPartitionedConvolver.h"
#include "room/ResponseBank.h"
#include "room/RoomConstants.h"

#include <array>
#include <memory>
#include <random>
#include <vector>

namespace enginebench {

constexpr int kSampleRate = 48000;

struct StereoRoom
{
    std::unique_ptr<CPartitionedConvolver> earlyLeft, earlyRight, lateLeft, lateRight;
    std::unique_ptr<CDelayLine> delayLeft, delayRight;

    explicit StereoRoom(int curveType = 1, int position = 3)
    {
        const IResponseTables& bank = roomResponseBank();
        earlyLeft = std::make_unique<CPartitionedConvolver>(bank, 0, kSampleRate, 0, kResponseLength,
                                                            kEarlyLength, kEarlyPartition, 0);
        earlyRight = std::make_unique<CPartitionedConvolver>(bank, 0, kSampleRate, 1, kResponseLength,
                                                             kEarlyLength, kEarlyPartition, 0);
        lateLeft = std::make_unique<CPartitionedConvolver>(bank, 0, kSampleRate, 0, kResponseLength,
                                                           kLateLength, kLatePartition, kLateStart);
        lateRight = std::make_unique<CPartitionedConvolver>(bank, 0, kSampleRate, 1, kResponseLength,
                                                            kLateLength, kLatePartition, kLateStart);
        earlyRight->shareTransforms(*earlyLeft);
        lateRight->shareTransforms(*lateLeft);
        earlyRight->shareShaping(*earlyLeft);
        lateRight->shareShaping(*lateLeft);
        const CDelayLine::Capacity capacity{kLateDelay + 1};
        delayLeft = std::make_unique<CDelayLine>(capacity, kLateDelay, 0.0, 100.0);
        delayRight = std::make_unique<CDelayLine>(capacity, kLateDelay, 0.0, 100.0);
        for (CPartitionedConvolver* s : stages())
        {
            s->reloadPosition(position, kSampleRate);
            s->setAllDecays(7.0, 7.0, 7.0, kSampleRate, curveType);
            s->setVolumes(1.0, 1.0, 1.0);
        }
    }

    // An array, not a vector: automation walks it every 64 frames and must not allocate.
    std::array<CPartitionedConvolver*, 4> stages() const
    {
        return {earlyLeft.get(), earlyRight.get(), lateLeft.get(), lateRight.get()};
    }

    // Bytes of the spectrum rings of the four stages: what an instance's multiply-accumulate
    // streams through, block by block.
    static long spectrumBytes()
    {
        const StereoRoom room;
        long bytes = 0;
        for (const CPartitionedConvolver* s : room.stages())
            bytes += s->spectrumBytes();
        return bytes;
    }

    // Bytes of those rings the multiply-accumulate streams per frame: a stage passes over its
    // rings once per pair of its blocks, the early stages every 256 frames, the late ones every
    // 4096.
    static double streamedBytesPerFrame()
    {
        const StereoRoom room;
        return static_cast<double>(room.earlyLeft->spectrumBytes() + room.earlyRight->spectrumBytes())
                   / (2 * kEarlyPartition)
               + static_cast<double>(room.lateLeft->spectrumBytes() + room.lateRight->spectrumBytes())
                     / (2 * kLatePartition);
    }

    void processFrame(const double* in, double* out)
    {
        earlyLeft->processSample(in[0]);
        lateLeft->processSample(in[0]);
        delayLeft->processSample(lateLeft->output());
        out[0] = delayLeft->output() + earlyLeft->output();
        earlyRight->processSample(in[1]);
        lateRight->processSample(in[1]);
        delayRight->processSample(lateRight->output());
        out[1] = delayRight->output() + earlyRight->output();
    }

    // The whole response of one ear as the stages gather it.
    std::vector<double> response(int ear)
    {
        std::vector<double> h(kResponseLength, 0.0), part(kResponseLength, 0.0);
        CPartitionedConvolver& early = ear == 0 ? *earlyLeft : *earlyRight;
        CPartitionedConvolver& late = ear == 0 ? *lateLeft : *lateRight;
        early.shapedResponse(0, kResponseLength, h.data());
        late.shapedResponse(0, kResponseLength, part.data());
        for (int i = 0; i < kResponseLength; ++i)
            h[i] += part[i];
        return h;
    }
};

// Interleaved stereo noise.
inline std::vector<double> stereoNoise(int frames, unsigned seed)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(2 * static_cast<std::size_t>(frames));
    for (double& x : v)
        x = dist(rng);
    return v;
}

} // namespace enginebench
