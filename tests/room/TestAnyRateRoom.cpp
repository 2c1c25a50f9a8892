// The rate-true room: its layout at every rate, the same sound at every rate as the original room
// gives at the bank's rate, sample-for-sample equality with the original at that rate, and the
// shared per-rate banks.
#include "room/BankRate.h"
#include "room/CTessaline.h"
#include "room/CTessalineAnyRate.h"
#include "room/ResampledBank.h"
#include "room/RoomConstants.h"
#include "room/RoomLayout.h"

#include "support/AllocationCounter.h"
#include "DecayAnalysis.h"
#include "RealFft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Every layout holds together at every rate: the stages tile the response, their partitions are
// powers of two, the delays are never negative and line the stages up at the onset, the onset is
// the bank's 255 samples in time, and each stage keeps about the bank rate's number of
// partitions, so the work per second grows with the rate and not faster.
TEST(RoomLayout, HoldsTogetherAtEveryRate)
{
    for (const int rate : {8000, 11025, 16000, 22050, 24000, 32000, 44100, 48000, 64000, 88200, 96000, 176400,
                           192000, 352800, 384000})
    {
        SCOPED_TRACE(rate);
        const CRoomLayout l = roomLayoutAt(rate);
        EXPECT_EQ(l.nSampleRate, rate);
        EXPECT_EQ(l.nTableRate, rate);
        EXPECT_TRUE(isPowerOfTwo(l.nEarlyPartition) && isPowerOfTwo(l.nLatePartition));
        EXPECT_EQ(l.nEarlyLength % l.nEarlyPartition, 0);
        EXPECT_EQ(l.nLateLength % l.nLatePartition, 0);
        EXPECT_EQ(l.nLateStart, l.nEarlyLength);
        EXPECT_EQ(l.nResponseLength, l.nLateStart + l.nLateLength);
        EXPECT_GE(l.nResponseLength, l.nTableLength);
        EXPECT_LT(l.nResponseLength - l.nTableLength, l.nLatePartition);
        EXPECT_NEAR(l.nTableLength, kResponseLength * static_cast<double>(rate) / kBankSampleRate, 1.0);
        EXPECT_NEAR(l.nOnset, kRoomDelay * static_cast<double>(rate) / kBankSampleRate, 0.5);
        EXPECT_GE(l.nEarlyDelay, 0);
        EXPECT_GE(l.nLateDelay, 0);
        EXPECT_EQ(2 * l.nEarlyPartition - 1 + l.nEarlyDelay, l.nOnset);
        EXPECT_EQ(2 * l.nLatePartition - 1 + l.nLateDelay, l.nLateStart + l.nOnset);
        EXPECT_LE(l.nLateLength / l.nLatePartition, 48);
        EXPECT_LE(l.nEarlyLength / l.nEarlyPartition, 72);
    }
}

// At the bank's rate, and at rates outside the resampled range, the layout is the original room's.
TEST(RoomLayout, IsTheOriginalAtTheBankRateAndOutsideTheRange)
{
    for (const int rate : {kBankSampleRate, kMinRateTrueRate - 1, kMaxRateTrueRate + 1, 1, 768000})
    {
        SCOPED_TRACE(rate);
        const CRoomLayout l = roomLayoutAt(rate);
        EXPECT_EQ(l.nTableRate, kBankSampleRate);
        EXPECT_EQ(l.nResponseLength, kResponseLength);
        EXPECT_EQ(l.nEarlyLength, kEarlyLength);
        EXPECT_EQ(l.nEarlyPartition, kEarlyPartition);
        EXPECT_EQ(l.nLateLength, kLateLength);
        EXPECT_EQ(l.nLatePartition, kLatePartition);
        EXPECT_EQ(l.nOnset, kRoomDelay);
        EXPECT_EQ(l.nEarlyDelay, 0);
        EXPECT_EQ(l.nLateDelay, kLateDelay);
    }
}

struct Stereo
{
    std::vector<float> left, right;
};

void applyPreset(CPlugIn& fx, int slot)
{
    for (uint32_t k = 0; k < CTessaline::kControlCount; ++k)
        fx.setControlPlain(k, static_cast<float>(fx.m_ControlList.controlAt(k)->dPresetValues[slot]));
}

// The output for the input, frame by frame, after a prepare at rate.
Stereo render(CPlugIn& fx, int rate, const Stereo& in)
{
    fx.m_nSampleRate = rate;
    fx.prepare();
    Stereo out{std::vector<float>(in.left.size()), std::vector<float>(in.left.size())};
    for (size_t n = 0; n < in.left.size(); ++n)
    {
        const float frame[2] = {in.left[n], in.right[n]};
        float result[2] = {};
        fx.processFrame(frame, result, 2, 2);
        out.left[n] = result[0];
        out.right[n] = result[1];
    }
    return out;
}

Stereo impulse(size_t frames)
{
    Stereo in{std::vector<float>(frames), std::vector<float>(frames)};
    in.left[0] = in.right[0] = 1.0f;
    return in;
}

// The room's stereo impulse response at rate: its whole tail.
TessalineTool::ImpulseResponse responseOf(CPlugIn& fx, int rate)
{
    fx.m_nSampleRate = rate;
    fx.prepare();
    const auto frames = static_cast<size_t>(std::ceil(fx.m_fTailTimeMs / 1000.0 * rate));
    const Stereo out = render(fx, rate, impulse(frames));
    TessalineTool::ImpulseResponse r;
    r.sampleRate = rate;
    r.left = out.left;
    r.right = out.right;
    return r;
}

double energy(const std::vector<float>& v)
{
    double e = 0.0;
    for (float x : v)
        e += static_cast<double>(x) * x;
    return e;
}

// Early decay time: the line through the decay curve from 0 to -10 dB, extended to 60 dB.
double earlyDecayTime(const TessalineTool::ImpulseResponse& r)
{
    std::vector<double> e(r.left.size());
    for (size_t n = 0; n < e.size(); ++n)
        e[n] = static_cast<double>(r.left[n]) * r.left[n] + static_cast<double>(r.right[n]) * r.right[n];
    const std::vector<double> curve = TessalineTool::energyDecayCurve(e);
    double sumT = 0, sumY = 0, sumTT = 0, sumTY = 0, count = 0;
    for (size_t n = 0; n < curve.size() && curve[n] >= -10.0; ++n)
    {
        const double t = static_cast<double>(n) / r.sampleRate;
        sumT += t;
        sumY += curve[n];
        sumTT += t * t;
        sumTY += t * curve[n];
        count += 1;
    }
    const double slope = (count * sumTY - sumT * sumY) / (count * sumTT - sumT * sumT);
    return -60.0 / slope;
}

// Seconds from the impulse to the strongest sample of either ear (the direct sound).
double onsetSeconds(const TessalineTool::ImpulseResponse& r)
{
    size_t at = 0;
    double best = 0.0;
    for (size_t n = 0; n < r.left.size(); ++n)
    {
        const double v = std::max(std::fabs(r.left[n]), std::fabs(r.right[n]));
        if (v > best)
        {
            best = v;
            at = n;
        }
    }
    return static_cast<double>(at) / r.sampleRate;
}

// Interaural time difference in seconds (positive: the left ear leads), from the cross-correlation
// of the ears over the first 3 ms after the direct sound's arrival, refined between samples by a
// parabola through the peak.
double interauralTime(const TessalineTool::ImpulseResponse& r)
{
    const auto first = static_cast<long>(std::floor((onsetSeconds(r) - 0.0015) * r.sampleRate));
    const long span = static_cast<long>(0.003 * r.sampleRate);
    const long maxLag = static_cast<long>(0.0012 * r.sampleRate);
    std::vector<double> c(static_cast<size_t>(2 * maxLag + 1));
    for (long lag = -maxLag; lag <= maxLag; ++lag)
    {
        double s = 0.0;
        for (long n = first; n < first + span; ++n)
        {
            const long m = n + lag;
            if (n >= 0 && m >= 0 && m < static_cast<long>(r.right.size()))
                s += static_cast<double>(r.left[static_cast<size_t>(n)]) * r.right[static_cast<size_t>(m)];
        }
        c[static_cast<size_t>(lag + maxLag)] = s;
    }
    const auto peak = static_cast<size_t>(std::max_element(c.begin(), c.end()) - c.begin());
    double offset = 0.0;
    if (peak > 0 && peak + 1 < c.size())
    {
        const double a = c[peak - 1], b = c[peak], d = c[peak + 1];
        const double curvature = a - 2.0 * b + d;
        offset = curvature != 0.0 ? 0.5 * (a - d) / curvature : 0.0;
    }
    return (static_cast<double>(peak) - static_cast<double>(maxLag) + offset) / r.sampleRate;
}

double decibels(double ratio) { return 10.0 * std::log10(ratio); }

// Share of the response's energy above the bank's band limit, in dB.
double energyAboveBankBand(const TessalineTool::ImpulseResponse& r)
{
    size_t size = 1;
    while (size < r.left.size())
        size *= 2;
    TessalineFft::RealFft fft(static_cast<int>(size));
    double above = 0.0, total = 0.0;
    for (const std::vector<float>* ear : {&r.left, &r.right})
    {
        for (size_t n = 0; n < size; ++n)
            fft.time()[n] = n < ear->size() ? (*ear)[n] : 0.0;
        fft.forward();
        for (int k = 0; k < fft.bins(); ++k)
        {
            const double e = std::norm(fft.spectrum()[k]);
            total += e;
            if (static_cast<double>(k) * r.sampleRate / static_cast<double>(size) > kBankSampleRate / 2.0)
                above += e;
        }
    }
    return decibels(above / total);
}

// The response with nothing above cutoffHz (a brick wall in the spectrum, padded against wrap).
TessalineTool::ImpulseResponse lowPassed(const TessalineTool::ImpulseResponse& r, double cutoffHz)
{
    size_t size = 1;
    while (size < 2 * r.left.size())
        size *= 2;
    TessalineFft::RealFft fft(static_cast<int>(size));
    TessalineTool::ImpulseResponse out = r;
    for (std::vector<float>* ear : {&out.left, &out.right})
    {
        for (size_t n = 0; n < size; ++n)
            fft.time()[n] = n < ear->size() ? (*ear)[n] : 0.0;
        fft.forward();
        for (int k = 0; k < fft.bins(); ++k)
        {
            const bool pass = static_cast<double>(k) * r.sampleRate / static_cast<double>(size) < cutoffHz;
            fft.spectrum()[k] = pass ? fft.spectrum()[k] / static_cast<double>(size) : 0.0;
        }
        fft.inverse();
        for (size_t n = 0; n < ear->size(); ++n)
            (*ear)[n] = static_cast<float>(fft.time()[n]);
    }
    return out;
}

// Below the bank's rate a session cannot hold the bank's top octaves: both rooms are then
// compared within 0.4 times the rate, where the resampler passes everything unchanged.
void compareWithinTheRatesBand(int rate, TessalineTool::ImpulseResponse& expected,
                               TessalineTool::ImpulseResponse& actual)
{
    if (rate >= kBankSampleRate)
        return;
    expected = lowPassed(expected, 0.4 * rate);
    actual = lowPassed(actual, 0.4 * rate);
}

struct Room
{
    const char* name;
    int presetSlot;
    int position; // -1: the preset's
};

// The original room at the bank's rate, measured once per room.
const TessalineTool::ImpulseResponse& referenceOf(const Room& room)
{
    static std::map<std::string, TessalineTool::ImpulseResponse> cache;
    auto it = cache.find(room.name);
    if (it == cache.end())
    {
        CTessaline original;
        original.postConstruct();
        applyPreset(original, room.presetSlot);
        if (room.position >= 0)
            original.setControlPlain(CTessaline::kPosition, static_cast<float>(room.position));
        it = cache.emplace(room.name, responseOf(original, kBankSampleRate)).first;
    }
    return it->second;
}

TessalineTool::ImpulseResponse anyRateResponse(const Room& room, int rate)
{
    CTessalineAnyRate fx;
    fx.postConstruct();
    applyPreset(fx, room.presetSlot);
    if (room.position >= 0)
        fx.setControlPlain(CTessaline::kPosition, static_cast<float>(room.position));
    return responseOf(fx, rate);
}

const Room kDefaultRoom{"default", 0, -1};
const Room kStudio{"Studio", 1, -1};
const Room kLeft90{"L90", 0, 5};
const Room kRight45{"R45", 0, 8};

class SameRoomAtRate : public ::testing::TestWithParam<int>
{};

// The rate-true room at each rate decays as the original does at the bank's rate, band by band
// (every octave from 125 Hz to 8 kHz that lies below a quarter of the rate) and early on, starts
// at the same moment, and is as loud. Tolerances: 3 % for T30 and 5 % for EDT are below what an
// ear tells apart (a just noticeable difference of about 5 %); the onset to one sample of the rate;
// the energy to 0.3 dB.
TEST_P(SameRoomAtRate, DecaysAsTheOriginalAtTheBankRate)
{
    const int rate = GetParam();
    for (const Room& room : {kDefaultRoom, kStudio})
    {
        SCOPED_TRACE(room.name);
        TessalineTool::ImpulseResponse expected = referenceOf(room);
        TessalineTool::ImpulseResponse actual = anyRateResponse(room, rate);
        compareWithinTheRatesBand(rate, expected, actual);
        const TessalineTool::RoomDecay want = TessalineTool::analyseDecay(expected);
        const TessalineTool::RoomDecay got = TessalineTool::analyseDecay(actual);
        ASSERT_EQ(want.bands.size(), got.bands.size());
        for (size_t b = 0; b < want.bands.size(); ++b)
        {
            if (want.bands[b].centre >= rate / 4.0)
                continue;
            SCOPED_TRACE(want.bands[b].centre);
            ASSERT_TRUE(want.bands[b].fit.valid && got.bands[b].fit.valid);
            EXPECT_NEAR(got.bands[b].fit.t30 / want.bands[b].fit.t30, 1.0, 0.03)
                << got.bands[b].fit.t30 << " s, want " << want.bands[b].fit.t30 << " s";
        }
        const double edt = earlyDecayTime(actual), wantEdt = earlyDecayTime(expected);
        EXPECT_NEAR(edt / wantEdt, 1.0, 0.05) << edt << " s, want " << wantEdt << " s";
        EXPECT_NEAR(onsetSeconds(actual) * rate, onsetSeconds(expected) * rate, 1.0);
        // The sum of squares of a response sampled faster falls as the rate rises (Parseval: it is the
        // spectrum's energy over the rate); times the rate, it is the same for the same spectrum.
        const double level = decibels((energy(actual.left) + energy(actual.right)) * rate
                                      / ((energy(expected.left) + energy(expected.right)) * kBankSampleRate));
        EXPECT_NEAR(level, 0.0, 0.3);
        if (rate > kBankSampleRate)
        {
            EXPECT_LE(energyAboveBankBand(actual), -90.0) << "images above the bank's band";
        }
    }
}

// The ears stay apart in time and level as at the bank's rate: the time difference within 0.02 ms
// (below the smallest an ear resolves, about 0.01 to 0.02 ms at best), the level difference within
// 0.5 dB (about half the smallest audible).
TEST_P(SameRoomAtRate, KeepsTheEarsApartAsTheOriginal)
{
    const int rate = GetParam();
    for (const Room& room : {kLeft90, kRight45})
    {
        SCOPED_TRACE(room.name);
        TessalineTool::ImpulseResponse expected = referenceOf(room);
        TessalineTool::ImpulseResponse actual = anyRateResponse(room, rate);
        compareWithinTheRatesBand(rate, expected, actual);
        EXPECT_NEAR(interauralTime(actual) * 1000.0, interauralTime(expected) * 1000.0, 0.02);
        EXPECT_NEAR(decibels(energy(actual.left) / energy(actual.right)),
                    decibels(energy(expected.left) / energy(expected.right)), 0.5);
    }
}

std::string rateName(const ::testing::TestParamInfo<int>& rate) { return std::to_string(rate.param); }

INSTANTIATE_TEST_SUITE_P(Rates, SameRoomAtRate,
                         ::testing::Values(22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000),
                         rateName);

Stereo noise(size_t frames)
{
    Stereo in{std::vector<float>(frames), std::vector<float>(frames)};
    uint32_t state = 12345;
    for (size_t n = 0; n < frames; ++n)
    {
        state = state * 1664525u + 1013904223u;
        in.left[n] = static_cast<float>(static_cast<int32_t>(state)) / 2147483648.0f;
        state = state * 1664525u + 1013904223u;
        in.right[n] = static_cast<float>(static_cast<int32_t>(state)) / 2147483648.0f;
    }
    return in;
}

// At the bank's rate the rate-true room is the original, sample for sample, through control
// changes between blocks and after a round trip through another rate.
TEST(AnyRateRoom, IsTheOriginalSampleForSampleAtTheBankRate)
{
    CTessaline original;
    CTessalineAnyRate anyRate;
    original.postConstruct();
    anyRate.postConstruct();
    anyRate.m_nSampleRate = 96000;
    anyRate.prepare();
    const Stereo in = noise(200000);
    Stereo a = render(original, kBankSampleRate, Stereo{});
    Stereo b = render(anyRate, kBankSampleRate, Stereo{});
    const struct
    {
        uint32_t id;
        float value;
    } changes[] = {{CTessaline::kPosition, 8.0f},
                   {CTessaline::kAbsLR, 3.5f},
                   {CTessaline::kDecayType, 0.0f},
                   {CTessaline::kVolCF, 0.25f},
                   {CTessaline::kStereoMono, 1.0f}};
    for (size_t n = 0, block = 0; n < in.left.size(); ++block)
    {
        if (block % 40 == 5 && block / 40 < std::size(changes))
        {
            original.setControlPlain(changes[block / 40].id, changes[block / 40].value);
            anyRate.setControlPlain(changes[block / 40].id, changes[block / 40].value);
        }
        for (const size_t end = std::min(in.left.size(), n + 512); n < end; ++n)
        {
            const float frame[2] = {in.left[n], in.right[n]};
            float x[2] = {}, y[2] = {};
            original.processFrame(frame, x, 2, 2);
            anyRate.processFrame(frame, y, 2, 2);
            ASSERT_EQ(x[0], y[0]) << "left, frame " << n;
            ASSERT_EQ(x[1], y[1]) << "right, frame " << n;
        }
    }
    EXPECT_EQ(original.m_fTailTimeMs, anyRate.m_fTailTimeMs);
}

// Outside the rates it resamples for, the rate-true room plays the tables as they are, exactly as
// the original does at that rate, and builds no bank.
TEST(AnyRateRoom, OutsideItsRangeIsTheOriginalAtThatRate)
{
    const int before = liveResampledBanks();
    const Stereo in = noise(20000);
    for (const int rate : {4000, kMaxRateTrueRate + 1, 768000})
    {
        SCOPED_TRACE(rate);
        CTessaline original;
        CTessalineAnyRate anyRate;
        original.postConstruct();
        anyRate.postConstruct();
        const Stereo a = render(original, rate, in);
        const Stereo b = render(anyRate, rate, in);
        EXPECT_EQ(liveResampledBanks(), before);
        EXPECT_EQ(original.m_fTailTimeMs, anyRate.m_fTailTimeMs);
        for (size_t n = 0; n < in.left.size(); ++n)
        {
            ASSERT_EQ(a.left[n], b.left[n]) << n;
            ASSERT_EQ(a.right[n], b.right[n]) << n;
        }
    }
}

// One resampled bank per rate in use, shared by every room at that rate and freed with the last;
// the bank's own rate needs none. Switching a running room's rate (48 -> 96 -> 44.1 kHz) lets go
// of each bank it leaves, and the room then plays the new rate's room (its tail in milliseconds
// stays the same) with no allocation or lock while it processes.
TEST(AnyRateRoom, SharesOneBankPerRateAndFreesItWithTheLastRoom)
{
    const int before = liveResampledBanks();
    {
        auto a = std::make_unique<CTessalineAnyRate>();
        auto b = std::make_unique<CTessalineAnyRate>();
        auto c = std::make_unique<CTessalineAnyRate>();
        for (CTessalineAnyRate* fx : {a.get(), b.get(), c.get()})
            fx->postConstruct();
        EXPECT_EQ(liveResampledBanks(), before) << "the bank's rate plays the embedded bank";
        const float bankRateTail = a->m_fTailTimeMs;

        const Stereo in = noise(4096);
        for (const int rate : {48000, 96000, 44100})
        {
            SCOPED_TRACE(rate);
            a->m_nSampleRate = rate;
            a->prepare();
            EXPECT_EQ(liveResampledBanks(), before + (rate == kBankSampleRate ? 0 : 1));
            EXPECT_NEAR(a->m_fTailTimeMs, bankRateTail, 1.0f);
            TestSupport::startCounting();
            for (size_t n = 0; n < in.left.size(); ++n)
            {
                const float frame[2] = {in.left[n], in.right[n]};
                float out[2];
                a->processFrame(frame, out, 2, 2);
            }
            a->skipSilentFrames(512, 2);
            TestSupport::stopCounting();
            EXPECT_EQ(TestSupport::allocatorCalls(), 0);
            EXPECT_EQ(TestSupport::lockCalls(), 0);
        }

        b->m_nSampleRate = 96000;
        b->prepare();
        c->m_nSampleRate = 96000;
        c->prepare();
        a->m_nSampleRate = 48000;
        a->prepare();
        EXPECT_EQ(liveResampledBanks(), before + 2) << "96 kHz shared by two rooms, 48 kHz by one";
        b.reset();
        EXPECT_EQ(liveResampledBanks(), before + 2);
        c.reset();
        EXPECT_EQ(liveResampledBanks(), before + 1) << "the last room at 96 kHz took its bank along";
    }
    EXPECT_EQ(liveResampledBanks(), before);
}

// A resampled bank's tables play the bank's tables at the new rate: the same values at the same
// moments (band-limited interpolation within the bank's band), scaled by the ratio of the rates.
TEST(ResampledBank, HoldsTheBankTablesAtTheNewRate)
{
    const CRoomLayout layout = roomLayoutAt(88200);
    const std::shared_ptr<const IResponseTables> tables = acquireRoomTables(layout);
    ASSERT_EQ(tables->tableCount(), 33);
    EXPECT_EQ(tables->tablesOf(0).fb, 32);
    EXPECT_EQ(tables->tablesOf(10).cf, 0);
    const IResponseTables& bank = *acquireRoomTables(roomLayoutAt(kBankSampleRate));
    for (const int k : {0, 16, 32})
    {
        const double* resampled = tables->table(k);
        const double* original = bank.table(k);
        double worst = 0.0, peak = 0.0;
        for (int n = 0; n < kResponseLength - 64; ++n)
        {
            // At twice the rate every other sample falls on a sample of the bank.
            worst = std::max(worst, std::fabs(2.0 * resampled[2 * n] - original[n]));
            peak = std::max(peak, std::fabs(original[n]));
        }
        EXPECT_LT(worst, 0.05 * peak) << "table " << k;
        for (int n = layout.nTableLength; n < layout.nResponseLength; ++n)
            ASSERT_EQ(resampled[n], 0.0) << "padding of table " << k;
    }
}

} // namespace
