// Cost of a block through Tessaline.lv2 (lilv, the built bundle) beside the same block through
// the VST3 bundle (our host library): both run the same DSP object, so the difference is what
// each adapter adds.
#include "HostAudioBuffers.h"
#include "HostInstance.h"
#include "HostModule.h"
#include "factory/TessalineIds.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <benchmark/benchmark.h>
#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr double kRate = 48000.0;

std::vector<std::string>& uris()
{
    static std::vector<std::string> list;
    return list;
}

LV2_URID mapUri(LV2_URID_Map_Handle, const char* uri)
{
    auto& list = uris();
    for (size_t k = 0; k < list.size(); ++k)
        if (list[k] == uri)
            return static_cast<LV2_URID>(k + 1);
    list.emplace_back(uri);
    return static_cast<LV2_URID>(list.size());
}

void noise(float* x, int64_t n, uint32_t& seed)
{
    for (int64_t i = 0; i < n; ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        x[i] = 0.25f * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
    }
}

void BM_Lv2Run(benchmark::State& state)
{
    const auto block = static_cast<uint32_t>(state.range(0));
    LilvWorld* world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, TESSALINE_LV2_BUNDLE_PATH "/");
    lilv_world_load_bundle(world, bundle);
    LilvNode* uri = lilv_new_uri(world, "https://tessaline.quorvane.example/plugins/tessaline");
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    LV2_URID_Map map{nullptr, mapUri};
    LV2_Feature mapFeature{LV2_URID__map, &map};
    const LV2_Feature* features[] = {&mapFeature, nullptr};
    LilvInstance* instance = plugin ? lilv_plugin_instantiate(plugin, kRate, features) : nullptr;
    if (!instance)
    {
        state.SkipWithError("the LV2 bundle does not load");
        return;
    }
    const uint32_t ports = lilv_plugin_get_num_ports(plugin);
    std::vector<float> controls(ports, 0.0f);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, controls.data());
    std::vector<std::vector<float>> audio(4, std::vector<float>(block));
    for (uint32_t p = 0; p < ports; ++p)
        lilv_instance_connect_port(instance, p, &controls[p]);
    lilv_instance_connect_port(instance, ports - 1, nullptr); // MIDI: optional
    for (uint32_t c = 0; c < 4; ++c)
        lilv_instance_connect_port(instance, ports - 5 + c, audio[c].data());
    lilv_instance_activate(instance);
    uint32_t seed = 1;
    for (auto _ : state)
    {
        noise(audio[0].data(), block, seed);
        noise(audio[1].data(), block, seed);
        lilv_instance_run(instance, block);
        benchmark::DoNotOptimize(audio[2][0]);
    }
    state.SetItemsProcessed(state.iterations() * block);
    lilv_instance_deactivate(instance);
    lilv_instance_free(instance);
    lilv_node_free(uri);
    lilv_node_free(bundle);
    lilv_world_free(world);
}

void BM_Vst3Process(benchmark::State& state)
{
    using namespace Steinberg;
    const auto block = static_cast<int32>(state.range(0));
    TessalineHost::HostModule module;
    TessalineHost::HostInstance instance;
    TUID cid;
    std::memcpy(cid, Tessaline::kProcessorCid, sizeof cid);
    if (!module.load(TESSALINE_BUNDLE_PATH) || !instance.create(module.factory(), cid)
        || instance.initialize() != kResultOk
        || instance.setBusArrangement(Vst::SpeakerArr::kStereo) != kResultTrue
        || instance.setupProcessing(kRate, block) != kResultOk || instance.setActive(true) != kResultOk)
    {
        state.SkipWithError("the VST3 bundle does not load");
        return;
    }
    TessalineHost::HostAudioBuffers buffers(2, 2, block);
    uint32_t seed = 1;
    for (auto _ : state)
    {
        noise(buffers.input(0), block, seed);
        noise(buffers.input(1), block, seed);
        instance.process(buffers, block);
        benchmark::DoNotOptimize(buffers.output(0)[0]);
    }
    state.SetItemsProcessed(state.iterations() * block);
}

BENCHMARK(BM_Lv2Run)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_Vst3Process)->Arg(64)->Arg(512)->Arg(4096);
} // namespace
