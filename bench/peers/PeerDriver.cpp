// One command for the whole comparison: Tessaline (the built bundle through its VST3 process
// call, plain and with every room control moved in every block), zita-convolver and LSP Impulse
// Reverb on the same job — stereo noise at 48 kHz, the room's two 69632-tap responses — at host
// blocks of 64, 256 and 1024 frames. Rounds alternate between the contenders so that a busy
// machine slows all of them alike; the figures are medians over rounds of CPU seconds (all
// threads) per audio second. Then the worst block phase of the automated plug-in, and memory.
//
//   bench_peers [--rounds N] [--seconds S] [--bundle PATH]
#include "LspRunner.h"
#include "Measure.h"
#include "ResponseFile.h"
#include "TessalineRunner.h"
#include "ZitaRunner.h"

#include "../engine/BenchRoom.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace peerbench;

namespace {

constexpr int kRate = enginebench::kSampleRate;
constexpr int kLateBlock = 2048; // the plug-in's longest block cycle

struct Options
{
    int rounds = 5;
    int seconds = 2;
    std::string bundle = TESSALINE_BUNDLE_PATH;
};

Options parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        if (std::strcmp(argv[i], "--rounds") == 0)
            o.rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--seconds") == 0)
            o.seconds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--bundle") == 0)
            o.bundle = argv[i + 1];
    }
    return o;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0.0 : (n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]));
}

// Planar stereo noise, the same for every contender.
struct Signal
{
    std::vector<float> left, right;
    explicit Signal(int frames)
    {
        const std::vector<double> v = enginebench::stereoNoise(frames, 7);
        for (int n = 0; n < frames; ++n)
        {
            left.push_back(static_cast<float>(0.5 * v[2 * n]));
            right.push_back(static_cast<float>(0.5 * v[2 * n + 1]));
        }
    }
    int frames() const { return static_cast<int>(left.size()); }
};

// Runs the whole signal through c in blocks; returns CPU seconds per audio second.
double cpuPerAudioSecond(Convolver& c, const Signal& s, int block)
{
    std::vector<float> outL(static_cast<std::size_t>(block)), outR(outL.size());
    float* out[2] = {outL.data(), outR.data()};
    const double start = processCpuSeconds();
    for (int base = 0; base + block <= s.frames(); base += block)
    {
        const float* in[2] = {s.left.data() + base, s.right.data() + base};
        c.process(in, out, block);
    }
    return (processCpuSeconds() - start) / (static_cast<double>(s.frames() / block * block) / kRate);
}

// Median wall time of each block phase of the 2048-frame cycle, over `cycles` cycles.
std::vector<double> phaseMedians(Convolver& c, const Signal& s, int block, int cycles)
{
    const int phases = kLateBlock / block;
    std::vector<std::vector<double>> times(static_cast<std::size_t>(phases));
    std::vector<float> outL(static_cast<std::size_t>(block)), outR(outL.size());
    float* out[2] = {outL.data(), outR.data()};
    long n = 0;
    for (int cycle = 0; cycle < cycles; ++cycle)
        for (int p = 0; p < phases; ++p, ++n)
        {
            const int base = static_cast<int>((n * block) % (s.frames() - block));
            const float* in[2] = {s.left.data() + base, s.right.data() + base};
            const double start = wallSeconds();
            c.process(in, out, block);
            times[static_cast<std::size_t>(p)].push_back(wallSeconds() - start);
        }
    std::vector<double> medians;
    for (auto& t : times)
        medians.push_back(median(t));
    return medians;
}

void printThroughput(const Options& o, const TessalineHost::HostModule& module, const Signal& signal,
                     const std::vector<float>* responses, const std::string& wav)
{
    std::printf("\nCPU seconds per audio second (median of %d alternating rounds, %d s each)\n", o.rounds,
                o.seconds);
    std::printf("%6s %12s %12s %12s %12s %10s %10s\n", "block", "Tessaline", "automated", "zita", "LSP",
                "vs best", "auto/plain");
    for (int block : {64, 256, 1024})
    {
        std::vector<std::unique_ptr<Convolver>> c;
        c.push_back(std::make_unique<TessalineRunner>(module, kRate, block, false));
        c.push_back(std::make_unique<TessalineRunner>(module, kRate, block, true));
        c.push_back(std::make_unique<ZitaRunner>(responses, block));
        c.push_back(std::make_unique<LspRunner>(wav, kRate, block));
        std::vector<std::vector<double>> figures(c.size());
        for (auto& each : c)
            cpuPerAudioSecond(*each, signal, block); // warm caches, plans and threads
        for (int r = 0; r < o.rounds; ++r)
            for (std::size_t i = 0; i < c.size(); ++i)
            {
                const std::size_t k = (i + static_cast<std::size_t>(r)) % c.size(); // rotate the order
                figures[k].push_back(cpuPerAudioSecond(*c[k], signal, block));
            }
        std::vector<double> m;
        for (auto& f : figures)
            m.push_back(median(f));
        std::printf("%6d %12.5f %12.5f %12.5f %12.5f %10.2f %10.2f\n", block, m[0], m[1], m[2], m[3],
                    m[0] / std::min(m[2], m[3]), m[1] / m[0]);
    }
}

void printWorstPhase(const TessalineHost::HostModule& module, const Signal& signal)
{
    constexpr int kBlock = 64;
    const double period = static_cast<double>(kBlock) / kRate;
    std::printf("\nWorst block phase at %d frames (median per phase of the %d-frame cycle, 400 cycles)\n",
                kBlock, kLateBlock);
    for (bool automate : {false, true})
    {
        TessalineRunner t(module, kRate, kBlock, automate);
        phaseMedians(t, signal, kBlock, 20);
        const std::vector<double> m = phaseMedians(t, signal, kBlock, 400);
        const auto worst = std::max_element(m.begin(), m.end());
        std::printf(
            "  %-20s slowest phase %2ld: %7.1f us = %5.1f%% of the %.0f us period (median phase %.1f us)\n",
            t.name().c_str(), static_cast<long>(worst - m.begin()), 1e6 * *worst, 100.0 * *worst / period,
            1e6 * period, 1e6 * median(m));
    }
}

// Several rooms in one mix: every instance takes the same host block in turn, as a host runs
// the inserts of eight tracks; they share the processor's caches as they would in a session.
class MixOfRooms : public Convolver
{
public:
    explicit MixOfRooms(std::vector<std::unique_ptr<Convolver>> rooms)
        : rooms(std::move(rooms))
    {}
    std::string name() const override { return std::to_string(rooms.size()) + " x " + rooms.front()->name(); }
    void process(const float* const* in, float* const* out, int frames) override
    {
        for (auto& room : rooms)
            room->process(in, out, frames);
    }

private:
    std::vector<std::unique_ptr<Convolver>> rooms;
};

void printEightRooms(const Options& o, const TessalineHost::HostModule& module, const Signal& signal,
                     const std::vector<float>* responses, const std::string& wav)
{
    constexpr int kBlock = 256;
    constexpr int kRooms = 8;
    std::vector<std::unique_ptr<Convolver>> c;
    auto eight = [&](auto make) {
        std::vector<std::unique_ptr<Convolver>> rooms;
        for (int i = 0; i < kRooms; ++i)
            rooms.push_back(make());
        return std::make_unique<MixOfRooms>(std::move(rooms));
    };
    c.push_back(std::make_unique<TessalineRunner>(module, kRate, kBlock, false));
    c.push_back(eight([&] { return std::make_unique<TessalineRunner>(module, kRate, kBlock, false); }));
    c.push_back(std::make_unique<ZitaRunner>(responses, kBlock));
    c.push_back(eight([&] { return std::make_unique<ZitaRunner>(responses, kBlock); }));
    c.push_back(std::make_unique<LspRunner>(wav, kRate, kBlock));
    c.push_back(eight([&] { return std::make_unique<LspRunner>(wav, kRate, kBlock); }));
    std::vector<std::vector<double>> figures(c.size());
    for (auto& each : c)
        cpuPerAudioSecond(*each, signal, kBlock);
    for (int r = 0; r < o.rounds; ++r)
        for (std::size_t i = 0; i < c.size(); ++i)
        {
            const std::size_t k = (i + static_cast<std::size_t>(r)) % c.size();
            figures[k].push_back(cpuPerAudioSecond(*c[k], signal, kBlock));
        }
    std::vector<double> m;
    for (auto& f : figures)
        m.push_back(median(f));
    std::printf("\nEight rooms in one mix, %d frames (median of %d alternating rounds), CPU s per audio s\n",
                kBlock, o.rounds);
    const char* names[3] = {"Tessaline", "zita", "LSP"};
    for (int k = 0; k < 3; ++k)
        std::printf("  %-10s one %.5f  eight %.5f = %.2f x one\n", names[k], m[2 * k], m[2 * k + 1],
                    m[2 * k + 1] / m[2 * k]);
    std::printf("  Tessaline's eight vs zita's eight: %.2f, vs LSP's eight: %.2f\n", m[1] / m[3],
                m[1] / m[5]);
    const long ringBytes = enginebench::StereoRoom::spectrumBytes();
    std::printf(
        "  bytes of spectra one instance's blocks stream through: %.2f MiB, %.0f KiB per %d-frame block\n",
        static_cast<double>(ringBytes) / (1024.0 * 1024.0),
        enginebench::StereoRoom::streamedBytesPerFrame() * kBlock / 1024.0, kBlock);
}

// Resident memory of plug-in instances that have each processed a second, beyond the module.
void printMemory(const TessalineHost::HostModule& module, const Signal& signal)
{
    constexpr int kInstances = 8;
    const double base = residentBytes();
    std::vector<std::unique_ptr<TessalineRunner>> instances;
    double one = 0.0;
    for (int i = 0; i < kInstances; ++i)
    {
        instances.push_back(std::make_unique<TessalineRunner>(module, kRate, 256, false));
        cpuPerAudioSecond(*instances.back(), signal, 256);
        if (i == 0)
            one = residentBytes() - base;
    }
    const double all = residentBytes() - base;
    const double mib = 1024.0 * 1024.0;
    std::printf("\nMemory (resident)\n  first instance %.2f MiB (with the bank pages its position reads)\n"
                "  each further instance %.2f MiB; %d instances %.2f MiB = %.2f x one\n",
                one / mib, (all - one) / (kInstances - 1) / mib, kInstances, all / mib, all / one);
}

} // namespace

int main(int argc, char** argv)
{
    const Options o = parse(argc, argv);
    try
    {
        TessalineHost::HostModule module;
        if (!module.load(o.bundle))
            throw std::runtime_error("cannot load " + o.bundle + ": " + module.error());
        // The room's responses at the plug-in's default settings, for the peers.
        enginebench::StereoRoom room(1, 0);
        std::vector<float> responses[2];
        for (int ear = 0; ear < 2; ++ear)
        {
            const std::vector<double> h = room.response(ear);
            responses[ear].assign(h.begin(), h.end());
        }
        ResponseFile wav(responses, kRate);
        const Signal signal(o.seconds * kRate);
        printMemory(module, signal); // first, before other instances leave freed pages behind
        printThroughput(o, module, signal, responses, wav.path());
        printEightRooms(o, module, signal, responses, wav.path());
        printWorstPhase(module, signal);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "bench_peers: %s\n", e.what());
        return 1;
    }
    return 0;
}
