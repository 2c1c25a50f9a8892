// How the room's response ends: at every setting and rate it fades far below its loudest part
// before its last sample, smoothly where a listener hears it, and the bank's tail fade leaves the
// decay of the default room and "Studio" as it was.
#include "room/BankTailFade.h"
#include "room/CTessaline.h"

#include "engine/CPartitionedConvolver.h"
#include "room/RoomConstants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Setting
{
    std::string name;
    float position; // 0 Center, 5 L90
    float absLR, absFB, absCF;
    int curve;       // Decay Type: 0 exponential, 1 hyperbolic
    int preset = -1; // a factory preset slot instead of the values above
};

// Each absorption at 0, 1 and 2 alone (the others at their default 7) and all three together,
// under both decay laws, at Center and L90; and the two presets.
std::vector<Setting> settings()
{
    std::vector<Setting> all;
    for (int curve : {0, 1})
        for (float position : {0.0f, 5.0f})
            for (float a : {0.0f, 1.0f, 2.0f})
            {
                const std::string tail = std::string(position == 0.0f ? " Center" : " L90")
                                         + (curve == 0 ? " exponential" : " hyperbolic");
                const std::string value = std::to_string(static_cast<int>(a));
                all.push_back({"Abs L-R " + value + tail, position, a, 7.0f, 7.0f, curve});
                all.push_back({"Abs F-B " + value + tail, position, 7.0f, a, 7.0f, curve});
                all.push_back({"Abs C-F " + value + tail, position, 7.0f, 7.0f, a, curve});
                all.push_back({"all Abs " + value + tail, position, a, a, a, curve});
            }
    all.push_back({"Factory Preset", 0, 0, 0, 0, 0, 0});
    all.push_back({"Studio", 0, 0, 0, 0, 0, 1});
    return all;
}

// A room at `rate` with the setting applied as a host applies it: activated, then the controls
// changed (a changed Decay Type rebuilds all three envelopes under its law; a preset writes every
// control in id order).
std::unique_ptr<CPlugIn> roomAt(int rate, const Setting& s)
{
    std::unique_ptr<CPlugIn> owned(createPlugIn());
    CTessaline& fx = static_cast<CTessaline&>(*owned);
    fx.m_nSampleRate = rate;
    fx.postConstruct();
    fx.prepare();
    if (s.preset >= 0)
    {
        for (uint32_t id = 0; id < CTessaline::kControlCount; ++id)
            fx.setControlPlain(id,
                               static_cast<float>(fx.m_ControlList.controlAt(id)->dPresetValues[s.preset]));
        return owned;
    }
    fx.setControlPlain(CTessaline::kDecayType, static_cast<float>(s.curve));
    fx.setControlPlain(CTessaline::kPosition, s.position);
    fx.setControlPlain(CTessaline::kAbsLR, s.absLR);
    fx.setControlPlain(CTessaline::kAbsFB, s.absFB);
    fx.setControlPlain(CTessaline::kAbsCF, s.absCF);
    return owned;
}

// Both ears' whole shaped responses, early and late stage together.
struct Ears
{
    std::vector<double> left, right;
};

Ears responses(CTessaline& fx)
{
    Ears ears{std::vector<double>(kResponseLength), std::vector<double>(kResponseLength)};
    std::vector<double> late(kResponseLength);
    fx.m_pEarlyLeft->shapedResponse(0, kResponseLength, ears.left.data());
    fx.m_pLateLeft->shapedResponse(0, kResponseLength, late.data());
    for (int i = 0; i < kResponseLength; ++i)
        ears.left[static_cast<size_t>(i)] += late[static_cast<size_t>(i)];
    fx.m_pEarlyRight->shapedResponse(0, kResponseLength, ears.right.data());
    fx.m_pLateRight->shapedResponse(0, kResponseLength, late.data());
    for (int i = 0; i < kResponseLength; ++i)
        ears.right[static_cast<size_t>(i)] += late[static_cast<size_t>(i)];
    return ears;
}

// The 10 ms RMS envelope of both ears together, in dB below its loudest window, as a listener
// measures it: windows tiling the response from its start, then its last 10 ms (the last entry).
std::vector<double> envelopeDb(const Ears& ears, int rate)
{
    const int window = rate / 100;
    auto energy = [&](int first) {
        double sum = 0.0;
        for (int i = first; i < first + window; ++i)
            sum += ears.left[static_cast<size_t>(i)] * ears.left[static_cast<size_t>(i)]
                   + ears.right[static_cast<size_t>(i)] * ears.right[static_cast<size_t>(i)];
        return sum;
    };
    std::vector<double> db;
    for (int first = 0; first + window <= kResponseLength; first += window)
        db.push_back(energy(first));
    db.push_back(energy(kResponseLength - window));
    const double loudest = *std::max_element(db.begin(), db.end());
    for (double& v : db)
        v = v > 0.0 ? 10.0 * std::log10(v / loudest) : -400.0;
    return db;
}

std::string rateName(const ::testing::TestParamInfo<int>& rate) { return std::to_string(rate.param); }

class ResponseEnd : public ::testing::TestWithParam<int>
{};

// The last 10 ms are at least 60 dB below the loudest 10 ms at every setting; at 44.1 and 48 kHz
// the tail gets there smoothly: from 50 ms after its loudest window on (the direct sound and the
// first reflections lie before; the tail is as dense as noise by then), while above -60 dB, no
// 10 ms window is more than 6 dB below the one before. A tail cut off at its last sample, or a
// fade so steep that it gates, fails here.
TEST_P(ResponseEnd, FallsSixtyDecibelsBeforeItsLastSample)
{
    const int rate = GetParam();
    const bool listened = rate == 44100 || rate == 48000;
    for (const Setting& s : settings())
    {
        SCOPED_TRACE(s.name);
        const std::unique_ptr<CPlugIn> fx = roomAt(rate, s);
        const std::vector<double> db = envelopeDb(responses(static_cast<CTessaline&>(*fx)), rate);
        EXPECT_LE(db.back(), -60.0);
        if (!listened)
            continue;
        const size_t loudest = static_cast<size_t>(std::max_element(db.begin(), db.end() - 1) - db.begin());
        for (size_t w = loudest + 5; w + 2 < db.size(); ++w)
        {
            if (db[w] > -60.0)
            {
                ASSERT_LE(db[w] - db[w + 1], 6.0) << "window " << w << " at " << db[w] << " dB";
            }
        }
    }
}

// 8 kHz and 384 kHz are the plug-in's lowest and highest rates: at 384 kHz the response lasts
// 0.18 s and the envelopes hardly act, so the bank's own fade has to bring the end down.
INSTANTIATE_TEST_SUITE_P(Rates, ResponseEnd, ::testing::Values(8000, 44100, 48000, 96000, 384000), rateName);

// Energy decay curve (both ears, 0 dB at the start) of responses.
std::vector<double> decayCurveDb(const std::vector<double>& left, const std::vector<double>& right)
{
    std::vector<double> curve(left.size());
    double sum = 0.0;
    for (size_t i = left.size(); i-- > 0;)
    {
        sum += left[i] * left[i] + right[i] * right[i];
        curve[i] = sum;
    }
    const double total = curve[0];
    for (double& v : curve)
        v = v > 0.0 ? 10.0 * std::log10(v / total) : -400.0;
    return curve;
}

// Seconds for 60 dB along the line fitted to the curve from -5 to -35 dB.
double t30(const std::vector<double>& curve, int rate)
{
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0, n = 0.0;
    for (size_t i = 0; i < curve.size(); ++i)
        if (curve[i] <= -5.0 && curve[i] >= -35.0)
        {
            const double t = static_cast<double>(i) / rate;
            sx += t;
            sy += curve[i];
            sxx += t * t;
            sxy += t * curve[i];
            n += 1.0;
        }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    return -60.0 / slope;
}

// An octave band: a second-order band-pass (Q = sqrt 2) run twice.
std::vector<double> octave(std::vector<double> x, double centre, int rate)
{
    const double w = 2.0 * M_PI * centre / rate, alpha = std::sin(w) / (2.0 * std::sqrt(2.0));
    const double a0 = 1.0 + alpha, a1 = -2.0 * std::cos(w), a2 = 1.0 - alpha;
    for (int pass = 0; pass < 2; ++pass)
    {
        double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
        for (double& v : x)
        {
            const double y = (alpha * v - alpha * x2 - a1 * y1 - a2 * y2) / a0;
            x2 = x1;
            x1 = v;
            y2 = y1;
            y1 = y;
            v = y;
        }
    }
    return x;
}

// The default room and "Studio" were already inaudible at their end: against the same rooms with
// the bank's tail fade taken out again (divided out of the response), their energy decay curve
// above -50 dB moves by at most 0.3 dB and T30 per octave by at most 2 %. A fade that starts too
// early or removes too much of the late energy fails here.
TEST(ResponseEndFade, LeavesTheDefaultRoomAndStudioAsTheyWere)
{
    for (int rate : {44100, 48000})
        for (int preset : {0, 1})
        {
            SCOPED_TRACE(std::to_string(rate) + (preset == 0 ? " Factory Preset" : " Studio"));
            const std::unique_ptr<CPlugIn> fx = roomAt(rate, Setting{"", 0, 0, 0, 0, 0, preset});
            const Ears faded = responses(static_cast<CTessaline&>(*fx));
            Ears unfaded = faded;
            for (int i = kTailFadeStart; i < kResponseLength; ++i)
            {
                unfaded.left[static_cast<size_t>(i)] /= tailFadeGain(i);
                unfaded.right[static_cast<size_t>(i)] /= tailFadeGain(i);
            }
            const std::vector<double> now = decayCurveDb(faded.left, faded.right);
            const std::vector<double> before = decayCurveDb(unfaded.left, unfaded.right);
            for (size_t i = 0; i < now.size() && before[i] > -50.0; ++i)
                ASSERT_NEAR(now[i], before[i], 0.3) << "sample " << i;
            for (double centre : {125.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0})
            {
                const double t30Now = t30(
                    decayCurveDb(octave(faded.left, centre, rate), octave(faded.right, centre, rate)), rate);
                const double t30Before =
                    t30(decayCurveDb(octave(unfaded.left, centre, rate), octave(unfaded.right, centre, rate)),
                        rate);
                EXPECT_NEAR(t30Now / t30Before, 1.0, 0.02) << centre << " Hz";
            }
        }
}

} // namespace
