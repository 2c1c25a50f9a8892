// `tessaline ir` is the plug-in's own answer to a unit impulse, and `tessaline plot` pictures it:
// its T30 labels agree with the decay measured here from ir's output.
#include "BundleInstance.h"
#include "CliFixture.h"

#include "FactoryPresetFiles.h"
#include "HostParameterChanges.h"

#include <png.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <map>

namespace CliTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Longer than the tool waits before its impulse (and a whole number of the convolver's largest
// blocks): settled is settled, however long the silence before.
constexpr long kSettleFrames = 3 * 65536;

// Drives the bundle as a host does: the preset and a list setting edited before playback (and
// sent with the first block), silence, then a unit impulse on both inputs.
Sound impulseThroughThePlugIn(int sampleRate, long frames, const std::string& presetName,
                              const std::string& title, const std::string& entry)
{
    BundleInstance bundle;
    EXPECT_TRUE(bundle.ok());
    std::vector<std::pair<ParamID, ParamValue>> edits;
    for (const auto& preset : TessalinePresets::factoryPresets(bundle.instance()))
        if (preset.name == presetName)
            edits.emplace_back(preset.listId, preset.normalized);
    for (const BundleInstance::Value& value : bundle.values())
        if (value.title == title)
            for (int step = 0; step <= 10; ++step)
                if (bundle.display(value.id, step / 10.0) == entry)
                    edits.emplace_back(value.id, step / 10.0);
    EXPECT_EQ(edits.size(), 2u);
    for (const auto& [id, normalized] : edits)
        bundle.controller().setParamNormalized(id, normalized);
    TessalineHost::HostInstance& plugIn = bundle.instance();
    EXPECT_EQ(plugIn.setBusArrangement(SpeakerArr::kStereo), kResultOk);
    EXPECT_EQ(plugIn.setupProcessing(sampleRate, 1024, kOffline), kResultOk);
    EXPECT_EQ(plugIn.setActive(true), kResultOk);
    plugIn.setProcessing(true);

    Sound out;
    out.channels = 2;
    out.sampleRate = sampleRate;
    TessalineHost::HostAudioBuffers buffers(2, 2, 1024);
    TessalineHost::HostParameterChanges changes;
    for (const auto& [id, normalized] : edits)
        changes.addChange(id, 0, normalized);
    for (long done = 0; done < kSettleFrames + frames; done += 1024)
    {
        const auto block = static_cast<int32>(std::min<long>(1024, kSettleFrames + frames - done));
        for (int c = 0; c < 2; ++c)
        {
            std::fill(buffers.input(c), buffers.input(c) + block, 0.0f);
            if (done <= kSettleFrames && kSettleFrames < done + block)
                buffers.input(c)[kSettleFrames - done] = 1.0f;
        }
        EXPECT_EQ(plugIn.process(buffers, block, done == 0 ? &changes : nullptr), kResultOk);
        for (int32 n = 0; n < block; ++n)
            if (done + n >= kSettleFrames)
                for (int c = 0; c < 2; ++c)
                    out.samples.push_back(buffers.output(c)[n]);
    }
    return out;
}

// Schroeder's backward integration and a least-squares line from -5 to -35 dB; -1 when the
// curve never gets there.
double t30(const std::vector<double>& energy, int sampleRate)
{
    std::vector<double> remaining(energy.size() + 1, 0.0);
    for (size_t n = energy.size(); n-- > 0;)
        remaining[n] = remaining[n + 1] + energy[n];
    std::vector<double> t, db;
    for (size_t n = 0; n < energy.size() && remaining[n] > 0.0; ++n)
    {
        const double level = 10.0 * std::log10(remaining[n] / remaining[0]);
        if (level <= -35.0)
            break;
        if (level <= -5.0)
        {
            t.push_back(static_cast<double>(n) / sampleRate);
            db.push_back(level);
        }
    }
    if (t.size() < 2)
        return -1.0;
    double mt = 0.0, md = 0.0;
    for (size_t i = 0; i < t.size(); ++i)
    {
        mt += t[i] / static_cast<double>(t.size());
        md += db[i] / static_cast<double>(t.size());
    }
    double stt = 0.0, sxy = 0.0;
    for (size_t i = 0; i < t.size(); ++i)
    {
        stt += (t[i] - mt) * (t[i] - mt);
        sxy += (t[i] - mt) * (db[i] - md);
    }
    return -60.0 / (sxy / stt);
}

// Both ears' energy within an octave band, through two cascaded band-pass biquads (the usual
// analogue-style octave filter, unlike the tool's spectral band weights: the two measurements
// differ a little but must agree).
std::vector<double> bandEnergy(const Sound& ir, double centre)
{
    const double w = 2.0 * M_PI * centre / ir.sampleRate;
    const double alpha = std::sin(w) * std::sinh(std::log(2.0) / 2.0 * 1.0 * w / std::sin(w));
    const double a0 = 1.0 + alpha;
    const double b0 = alpha / a0, a1 = -2.0 * std::cos(w) / a0, a2 = (1.0 - alpha) / a0;
    std::vector<double> energy(static_cast<size_t>(ir.frames()), 0.0);
    for (size_t ear = 0; ear < 2; ++ear)
    {
        double x1[2] = {}, x2[2] = {}, y1[2] = {}, y2[2] = {};
        for (size_t n = 0; n < energy.size(); ++n)
        {
            double x = ir.samples[2 * n + ear];
            for (int stage = 0; stage < 2; ++stage)
            {
                const double y = b0 * x - b0 * x2[stage] - a1 * y1[stage] - a2 * y2[stage];
                x2[stage] = x1[stage];
                x1[stage] = x;
                y2[stage] = y1[stage];
                y1[stage] = y;
                x = y;
            }
            energy[n] += x * x;
        }
    }
    return energy;
}

struct Png
{
    unsigned width = 0, height = 0;
    std::map<std::string, std::string> texts;
};

bool readPng(const std::string& path, Png& png)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(reader);
    bool ok = false;
    if (!setjmp(png_jmpbuf(reader)))
    {
        png_init_io(reader, file);
        png_read_info(reader, info);
        png.width = png_get_image_width(reader, info);
        png.height = png_get_image_height(reader, info);
        png_textp texts = nullptr;
        const int count = png_get_text(reader, info, &texts, nullptr);
        for (int i = 0; i < count; ++i)
            png.texts[texts[i].key] = texts[i].text;
        ok = true;
    }
    png_destroy_read_struct(&reader, &info, nullptr);
    std::fclose(file);
    return ok;
}

TEST_F(CliRender, IrIsThePlugInsAnswerToAUnitImpulseSampleForSample)
{
    const ToolResult result = run({"ir", path("ir.wav"), "--preset", "Studio", "--set", "Position=L45",
                                   "--rate", "44100", "--length", "1.2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Sound ir;
    ASSERT_TRUE(readSound(path("ir.wav"), ir));
    EXPECT_EQ(ir.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(ir.channels, 2);
    EXPECT_EQ(ir.sampleRate, 44100);
    ASSERT_EQ(ir.frames(), 52920);

    const Sound direct = impulseThroughThePlugIn(44100, ir.frames(), "Studio", "Position", "L45");
    EXPECT_EQ(largestDifference(ir, direct), 0.0);
    EXPECT_GT(peak(ir), 0.01);
    EXPECT_EQ(peak(slice(ir, 0, 255)), 0.0) << "the room answers 255 samples late, as in the plug-in";
}

TEST_F(CliRender, IrDefaultsToTheWholeReportedTailAt48k)
{
    const ToolResult result = run({"ir", path("ir.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Sound ir;
    ASSERT_TRUE(readSound(path("ir.wav"), ir));
    EXPECT_EQ(ir.sampleRate, 48000);
    EXPECT_EQ(ir.frames(), reportedTail(48000));
}

TEST_F(CliRender, PlotHasTheRequestedSizeAndTheT30OfIrsOutput)
{
    const std::vector<std::string> room = {"--preset", "Studio", "--set", "Abs L-R=2"};
    std::vector<std::string> plotArgs = {"plot", path("room.png"), "--size", "900x640"};
    plotArgs.insert(plotArgs.end(), room.begin(), room.end());
    std::vector<std::string> irArgs = {"ir", path("ir.wav")};
    irArgs.insert(irArgs.end(), room.begin(), room.end());
    const ToolResult plotted = run(plotArgs);
    ASSERT_EQ(plotted.exitCode, 0) << plotted.err;
    ASSERT_EQ(run(irArgs).exitCode, 0);

    Png png;
    ASSERT_TRUE(readPng(path("room.png"), png));
    EXPECT_EQ(png.width, 900u);
    EXPECT_EQ(png.height, 640u);
    Sound ir;
    ASSERT_TRUE(readSound(path("ir.wav"), ir));
    std::vector<double> energy(static_cast<size_t>(ir.frames()));
    for (size_t n = 0; n < energy.size(); ++n)
        energy[n] = ir.samples[2 * n] * ir.samples[2 * n] + ir.samples[2 * n + 1] * ir.samples[2 * n + 1];

    // The broadband figure is the same measurement, so it matches to the label's last digit.
    const double broadband = t30(energy, ir.sampleRate);
    ASSERT_GT(broadband, 0.05);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2f s", broadband);
    EXPECT_EQ(png.texts["T30"], expected);
    EXPECT_NE(plotted.out.find(expected), std::string::npos) << plotted.out;

    const std::pair<const char*, double> bands[] = {{"125", 125.0}, {"250", 250.0}, {"500", 500.0},
                                                    {"1k", 1000.0}, {"2k", 2000.0}, {"4k", 4000.0},
                                                    {"8k", 8000.0}};
    for (const auto& [name, centre] : bands)
    {
        const std::string key = std::string("T30 ") + name + " Hz";
        ASSERT_EQ(png.texts.count(key), 1u) << key;
        const double measured = t30(bandEnergy(ir, centre), ir.sampleRate);
        ASSERT_GT(measured, 0.05) << key;
        EXPECT_NEAR(std::stod(png.texts[key]), measured, 0.07 * measured) << key;
    }
}

} // namespace
} // namespace CliTest
