#include "LspRunner.h"

#include <lv2/atom/forge.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/parameters/parameters.h>
#include <lv2/patch/patch.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace peerbench {

namespace {

constexpr const char* kPluginUri = "http://lsp-plug.in/plugins/lv2/impulse_reverb_stereo";
constexpr std::size_t kAtomBytes = 256 * 1024; // above the ports' declared minimum sizes

// Convolver routing: input panorama, file, track, output panorama (-100 left, +100 right).
struct Route
{
    const char* input;
    const char* file;
    const char* track;
    const char* output;
    float pan, fileNumber, trackNumber;
};

} // namespace

LV2_URID LspRunner::map(const char* uri)
{
    const auto it = std::find(m_Uris.begin(), m_Uris.end(), uri);
    if (it != m_Uris.end())
        return static_cast<LV2_URID>(it - m_Uris.begin() + 1);
    m_Uris.emplace_back(uri);
    return static_cast<LV2_URID>(m_Uris.size());
}

LV2_URID LspRunner::mapUri(LV2_URID_Map_Handle handle, const char* uri)
{
    return static_cast<LspRunner*>(handle)->map(uri);
}

const char* LspRunner::unmapUri(LV2_URID_Unmap_Handle handle, LV2_URID urid)
{
    const auto& uris = static_cast<LspRunner*>(handle)->m_Uris;
    return urid >= 1 && urid <= uris.size() ? uris[urid - 1].c_str() : nullptr;
}

// Work is queued and done after the cycle that asked for it, on the same thread.
LV2_Worker_Status LspRunner::scheduleWork(LV2_Worker_Schedule_Handle handle, uint32_t size, const void* data)
{
    auto* self = static_cast<LspRunner*>(handle);
    const char* bytes = static_cast<const char*>(data);
    self->m_Jobs.push_back({std::vector<char>(bytes, bytes + size)});
    return LV2_WORKER_SUCCESS;
}

LV2_Worker_Status LspRunner::respond(LV2_Worker_Respond_Handle handle, uint32_t size, const void* data)
{
    auto* self = static_cast<LspRunner*>(handle);
    const char* bytes = static_cast<const char*>(data);
    self->m_Responses.push_back({std::vector<char>(bytes, bytes + size)});
    return LV2_WORKER_SUCCESS;
}

LspRunner::LspRunner(const std::string& stereoWavPath, double sampleRate, int maxBlock)
    : m_nMaxBlock(maxBlock)
    , m_fSampleRate(static_cast<float>(sampleRate))
{
    m_Map = {this, mapUri};
    m_Unmap = {this, unmapUri};
    m_Schedule = {this, scheduleWork};
    m_MapFeature = {LV2_URID__map, &m_Map};
    m_UnmapFeature = {LV2_URID__unmap, &m_Unmap};
    m_ScheduleFeature = {LV2_WORKER__schedule, &m_Schedule};
    const LV2_URID intType = map(LV2_ATOM__Int), floatType = map(LV2_ATOM__Float);
    m_Options = {
        {LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t), intType, &m_nMaxBlock},
        {LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__nominalBlockLength), sizeof(int32_t), intType,
         &m_nMaxBlock},
        {LV2_OPTIONS_INSTANCE, 0, map(LV2_PARAMETERS__sampleRate), sizeof(float), floatType, &m_fSampleRate},
        {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    m_OptionsFeature = {LV2_OPTIONS__options, m_Options.data()};
    const LV2_Feature* features[] = {&m_MapFeature, &m_UnmapFeature, &m_ScheduleFeature, &m_OptionsFeature,
                                     nullptr};

    m_pWorld = lilv_world_new();
    lilv_world_load_all(m_pWorld);
    LilvNode* uri = lilv_new_uri(m_pWorld, kPluginUri);
    m_pPlugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(m_pWorld), uri);
    lilv_node_free(uri);
    if (m_pPlugin == nullptr)
        throw std::runtime_error("LSP Impulse Reverb (lsp-plugins-lv2) is not installed");
    m_pInstance = lilv_plugin_instantiate(m_pPlugin, sampleRate, features);
    if (m_pInstance == nullptr)
        throw std::runtime_error("LSP Impulse Reverb: instantiation failed");
    m_pWorker = static_cast<const LV2_Worker_Interface*>(
        lilv_instance_get_extension_data(m_pInstance, LV2_WORKER__interface));
    connectPorts(maxBlock);

    setControl("dry", 0.0f);
    setControl("wet", 1.0f);
    const Route routes[] = {{"cim0", "csf0", "cst0", "com0", -100.0f, 1.0f, 0.0f},
                            {"cim1", "csf1", "cst1", "com1", 100.0f, 1.0f, 1.0f}};
    for (const Route& r : routes)
    {
        setControl(r.input, r.pan);
        setControl(r.file, r.fileNumber);
        setControl(r.track, r.trackNumber);
        setControl(r.output, r.pan);
    }
    setControl("csf2", 0.0f);
    setControl("csf3", 0.0f);
    lilv_instance_activate(m_pInstance);
    sendFile(stereoWavPath);

    // Run on noise until the file is loaded and the convolvers answer.
    std::vector<float> noiseL(static_cast<std::size_t>(maxBlock)), noiseR(noiseL.size());
    for (std::size_t i = 0; i < noiseL.size(); ++i)
    {
        noiseL[i] = static_cast<float>(std::sin(0.37 * static_cast<double>(i)));
        noiseR[i] = static_cast<float>(std::cos(0.71 * static_cast<double>(i)));
    }
    std::vector<float> outL(noiseL.size()), outR(noiseL.size());
    const float* in[2] = {noiseL.data(), noiseR.data()};
    float* out[2] = {outL.data(), outR.data()};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int answering = 0;
    while (answering < 8)
    {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("LSP Impulse Reverb: the response file was never taken");
        process(in, out, maxBlock);
        double energy = 0.0;
        for (int i = 0; i < maxBlock; ++i)
            energy += std::fabs(outL[i]) + std::fabs(outR[i]);
        answering = energy > 0.0 ? answering + 1 : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

LspRunner::~LspRunner()
{
    if (m_pInstance != nullptr)
    {
        lilv_instance_deactivate(m_pInstance);
        lilv_instance_free(m_pInstance);
    }
    lilv_world_free(m_pWorld);
}

void LspRunner::connectPorts(int maxBlock)
{
    LilvNode* audio = lilv_new_uri(m_pWorld, LV2_CORE__AudioPort);
    LilvNode* controlClass = lilv_new_uri(m_pWorld, LV2_CORE__ControlPort);
    LilvNode* atom = lilv_new_uri(m_pWorld, LV2_ATOM__AtomPort);
    LilvNode* input = lilv_new_uri(m_pWorld, LV2_CORE__InputPort);
    const uint32_t count = lilv_plugin_get_num_ports(m_pPlugin);
    m_Controls.assign(count, 0.0f);
    m_Symbols.resize(count);
    m_AtomIn.assign(kAtomBytes / 8, 0);
    m_AtomOut.assign(kAtomBytes / 8, 0);
    for (uint32_t i = 0; i < count; ++i)
    {
        const LilvPort* port = lilv_plugin_get_port_by_index(m_pPlugin, i);
        m_Symbols[i] = lilv_node_as_string(lilv_port_get_symbol(m_pPlugin, port));
        const bool isInput = lilv_port_is_a(m_pPlugin, port, input);
        void* where = nullptr;
        if (lilv_port_is_a(m_pPlugin, port, audio))
        {
            auto& set = isInput ? m_AudioIn : m_AudioOut;
            set.emplace_back(static_cast<std::size_t>(maxBlock), 0.0f);
            where = set.back().data();
        }
        else if (lilv_port_is_a(m_pPlugin, port, atom))
        {
            where = isInput ? m_AtomIn.data() : m_AtomOut.data();
        }
        else if (lilv_port_is_a(m_pPlugin, port, controlClass))
        {
            LilvNode* def = nullptr;
            lilv_port_get_range(m_pPlugin, port, &def, nullptr, nullptr);
            m_Controls[i] = def != nullptr ? lilv_node_as_float(def) : 0.0f;
            lilv_node_free(def);
            where = &m_Controls[i];
        }
        lilv_instance_connect_port(m_pInstance, i, where);
    }
    lilv_node_free(audio);
    lilv_node_free(controlClass);
    lilv_node_free(atom);
    lilv_node_free(input);
    if (m_AudioIn.size() != 2 || m_AudioOut.size() != 2)
        throw std::runtime_error("LSP Impulse Reverb: expected two audio inputs and outputs");
}

void LspRunner::setControl(const char* symbol, float value)
{
    for (std::size_t i = 0; i < m_Symbols.size(); ++i)
        if (m_Symbols[i] == symbol)
        {
            m_Controls[i] = value;
            return;
        }
    throw std::runtime_error(std::string("LSP Impulse Reverb: no port ") + symbol);
}

// A patch:Set of the first file parameter. The plug-in maps its parameters under its own URI
// (<plugin>/ports#ifn0); the packaged description names another, so it is not looked up there.
void LspRunner::sendFile(const std::string& path)
{
    const std::string property = std::string(kPluginUri) + "/ports#ifn0";
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, &m_Map);
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(m_AtomIn.data()), kAtomBytes);
    LV2_Atom_Forge_Frame sequence, object;
    lv2_atom_forge_sequence_head(&forge, &sequence, 0);
    lv2_atom_forge_frame_time(&forge, 0);
    lv2_atom_forge_object(&forge, &object, map(LV2_PATCH__Message), map(LV2_PATCH__Set));
    lv2_atom_forge_key(&forge, map(LV2_PATCH__property));
    lv2_atom_forge_urid(&forge, map(property.c_str()));
    lv2_atom_forge_key(&forge, map(LV2_PATCH__value));
    lv2_atom_forge_path(&forge, path.c_str(), static_cast<uint32_t>(path.size()));
    lv2_atom_forge_pop(&forge, &object);
    lv2_atom_forge_pop(&forge, &sequence);
    m_bMessagePending = true;
}

void LspRunner::clearSequences(bool withMessage)
{
    if (!withMessage)
    {
        auto* in = reinterpret_cast<LV2_Atom_Sequence*>(m_AtomIn.data());
        in->atom.type = map(LV2_ATOM__Sequence);
        in->atom.size = sizeof(LV2_Atom_Sequence_Body);
        in->body.unit = 0;
        in->body.pad = 0;
    }
    auto* out = reinterpret_cast<LV2_Atom*>(m_AtomOut.data());
    out->type = map(LV2_ATOM__Chunk);
    out->size = static_cast<uint32_t>(kAtomBytes - sizeof(LV2_Atom));
}

void LspRunner::runWorker()
{
    if (m_pWorker == nullptr)
        return;
    std::vector<Job> jobs;
    jobs.swap(m_Jobs);
    for (const Job& job : jobs)
        m_pWorker->work(lilv_instance_get_handle(m_pInstance), respond, this,
                        static_cast<uint32_t>(job.data.size()), job.data.data());
    std::vector<Job> responses;
    responses.swap(m_Responses);
    for (const Job& r : responses)
        m_pWorker->work_response(lilv_instance_get_handle(m_pInstance), static_cast<uint32_t>(r.data.size()),
                                 r.data.data());
    if (m_pWorker->end_run != nullptr)
        m_pWorker->end_run(lilv_instance_get_handle(m_pInstance));
}

void LspRunner::run(int frames)
{
    clearSequences(m_bMessagePending);
    m_bMessagePending = false;
    lilv_instance_run(m_pInstance, static_cast<uint32_t>(frames));
    runWorker();
}

void LspRunner::process(const float* const* in, float* const* out, int frames)
{
    const auto bytes = sizeof(float) * static_cast<std::size_t>(frames);
    for (int ch = 0; ch < 2; ++ch)
        std::memcpy(m_AudioIn[static_cast<std::size_t>(ch)].data(), in[ch], bytes);
    run(frames);
    for (int ch = 0; ch < 2; ++ch)
        std::memcpy(out[ch], m_AudioOut[static_cast<std::size_t>(ch)].data(), bytes);
}

} // namespace peerbench
