#include "Lv2TestHost.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/presets/presets.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace Lv2Test {

namespace {
const char* const kPluginUri = "https://tessaline.quorvane.example/plugins/tessaline";
const char* const kStateKey = "https://tessaline.quorvane.example/plugins/tessaline#componentState";
constexpr uint32_t kPortCount = 18;
constexpr uint32_t kMidiPort = 17;
constexpr size_t kMidiCapacity = 4096;
} // namespace

Lv2World::Lv2World(const std::string& bundleDir, const char* pluginUri)
{
    m_Map = {this, mapUri};
    m_Unmap = {this, unmapUrid};
    m_MapFeature = {LV2_URID__map, &m_Map};
    m_UnmapFeature = {LV2_URID__unmap, &m_Unmap};
    m_Features[0] = &m_MapFeature;
    m_Features[1] = &m_UnmapFeature;
    m_pWorld = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(m_pWorld, nullptr, (bundleDir + "/").c_str());
    lilv_world_load_bundle(m_pWorld, bundle);
    lilv_node_free(bundle);
    LilvNode* uri = lilv_new_uri(m_pWorld, pluginUri ? pluginUri : kPluginUri);
    m_pPlugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(m_pWorld), uri);
    lilv_node_free(uri);
}

Lv2World::~Lv2World() { lilv_world_free(m_pWorld); }

LV2_URID Lv2World::mapUri(LV2_URID_Map_Handle handle, const char* uri)
{
    auto& uris = static_cast<Lv2World*>(handle)->m_Uris;
    for (size_t k = 0; k < uris.size(); ++k)
        if (uris[k] == uri)
            return static_cast<LV2_URID>(k + 1);
    uris.emplace_back(uri);
    return static_cast<LV2_URID>(uris.size());
}

const char* Lv2World::unmapUrid(LV2_URID_Unmap_Handle handle, LV2_URID urid)
{
    auto& uris = static_cast<Lv2World*>(handle)->m_Uris;
    return urid >= 1 && urid <= uris.size() ? uris[urid - 1].c_str() : nullptr;
}

uint32_t Lv2World::portIndex(const char* symbol) const
{
    LilvNode* node = lilv_new_string(m_pWorld, symbol);
    const LilvPort* port = lilv_plugin_get_port_by_symbol(m_pPlugin, node);
    lilv_node_free(node);
    if (!port)
        throw std::runtime_error(std::string("no port ") + symbol);
    return lilv_port_get_index(m_pPlugin, port);
}

std::vector<std::pair<std::string, std::string>> Lv2World::presets()
{
    std::vector<std::pair<std::string, std::string>> out;
    LilvNode* presetClass = lilv_new_uri(m_pWorld, LV2_PRESETS__Preset);
    LilvNode* label = lilv_new_uri(m_pWorld, LILV_NS_RDFS "label");
    LilvNodes* related = lilv_plugin_get_related(m_pPlugin, presetClass);
    LILV_FOREACH(nodes, i, related)
    {
        const LilvNode* preset = lilv_nodes_get(related, i);
        lilv_world_load_resource(m_pWorld, preset);
        LilvNodes* labels = lilv_world_find_nodes(m_pWorld, preset, label, nullptr);
        if (labels && lilv_nodes_size(labels) > 0)
            out.emplace_back(lilv_node_as_string(lilv_nodes_get_first(labels)), lilv_node_as_uri(preset));
        lilv_nodes_free(labels);
    }
    lilv_nodes_free(related);
    lilv_node_free(label);
    lilv_node_free(presetClass);
    return out;
}

Lv2Instance::Lv2Instance(Lv2World& world, double rate, uint32_t maxBlock)
    : m_World(world)
    , m_Controls(kPortCount, 0.0f)
    , m_Audio(4, std::vector<float>(maxBlock, 0.0f))
    , m_Midi(kMidiCapacity / 8, 0)
{
    if (!world.plugin())
        return;
    m_pInstance = lilv_plugin_instantiate(world.plugin(), rate, world.features());
    if (!m_pInstance)
        return;
    const LilvPlugin* plugin = world.plugin();
    std::vector<float> defaults(lilv_plugin_get_num_ports(plugin), 0.0f);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
    for (uint32_t p = 0; p < kPortCount && p < defaults.size(); ++p)
        m_Controls[p] = std::isnan(defaults[p]) ? 0.0f : defaults[p];
    const char* audio[4] = {"in_l", "in_r", "out_l", "out_r"};
    for (uint32_t p = 0; p < kPortCount; ++p)
        lilv_instance_connect_port(m_pInstance, p, &m_Controls[p]);
    for (int c = 0; c < 4; ++c)
        lilv_instance_connect_port(m_pInstance, world.portIndex(audio[c]),
                                   m_Audio[static_cast<size_t>(c)].data());
    setMidi({});
    lilv_instance_connect_port(m_pInstance, kMidiPort, m_Midi.data());
    lilv_instance_activate(m_pInstance);
}

Lv2Instance::~Lv2Instance()
{
    if (m_pInstance)
    {
        lilv_instance_deactivate(m_pInstance);
        lilv_instance_free(m_pInstance);
    }
}

void Lv2Instance::disconnectRightInput()
{
    lilv_instance_connect_port(m_pInstance, m_World.portIndex("in_r"), nullptr);
}

void Lv2Instance::setMidi(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& events)
{
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(m_Midi.data());
    sequence->atom.type = m_World.urid(LV2_ATOM__Sequence);
    sequence->atom.size = sizeof(LV2_Atom_Sequence_Body);
    sequence->body.unit = 0;
    sequence->body.pad = 0;
    const LV2_URID midi = m_World.urid(LV2_MIDI__MidiEvent);
    for (const auto& [frame, bytes] : events)
    {
        auto* event = reinterpret_cast<LV2_Atom_Event*>(reinterpret_cast<uint8_t*>(&sequence->body)
                                                        + sequence->atom.size);
        event->time.frames = frame;
        event->body.type = midi;
        event->body.size = static_cast<uint32_t>(bytes.size());
        std::memcpy(event + 1, bytes.data(), bytes.size());
        sequence->atom.size +=
            lv2_atom_pad_size(static_cast<uint32_t>(sizeof(LV2_Atom_Event) + bytes.size()));
    }
}

void Lv2Instance::run(uint32_t frames) { lilv_instance_run(m_pInstance, frames); }

namespace {
struct Stored
{
    std::vector<uint8_t>* bytes;
    uint32_t* type;
    uint32_t key;
};

LV2_State_Status storeValue(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                            uint32_t type, uint32_t)
{
    auto* stored = static_cast<Stored*>(handle);
    stored->key = key;
    stored->bytes->assign(static_cast<const uint8_t*>(value), static_cast<const uint8_t*>(value) + size);
    *stored->type = type;
    return LV2_STATE_SUCCESS;
}

struct Offered
{
    const std::vector<uint8_t>* bytes;
    uint32_t type;
    uint32_t key;
};

const void* retrieveValue(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                          uint32_t* flags)
{
    auto* offered = static_cast<Offered*>(handle);
    if (key != offered->key)
        return nullptr;
    *size = offered->bytes->size();
    *type = offered->type;
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return offered->bytes->data();
}
} // namespace

LV2_State_Status Lv2Instance::save(std::vector<uint8_t>& bytes, uint32_t& type)
{
    const auto* iface = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(m_pInstance, LV2_STATE__interface));
    Stored stored{&bytes, &type, 0};
    const LV2_State_Status status =
        iface->save(lilv_instance_get_handle(m_pInstance), storeValue, &stored, 0, m_World.features());
    if (status == LV2_STATE_SUCCESS && stored.key != m_World.urid(kStateKey))
        return LV2_STATE_ERR_UNKNOWN;
    return status;
}

LV2_State_Status Lv2Instance::restore(const std::vector<uint8_t>& bytes, uint32_t type)
{
    const auto* iface = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(m_pInstance, LV2_STATE__interface));
    Offered offered{&bytes, type, m_World.urid(kStateKey)};
    return iface->restore(lilv_instance_get_handle(m_pInstance), retrieveValue, &offered, 0,
                          m_World.features());
}

const void* Lv2Instance::portValue(const char* symbol, void* user, uint32_t* size, uint32_t* type)
{
    auto* self = static_cast<Lv2Instance*>(user);
    const uint32_t port = self->m_World.portIndex(symbol);
    const LilvPort* lilvPort = lilv_plugin_get_port_by_index(self->m_World.plugin(), port);
    LilvNode* input = lilv_new_uri(self->m_World.world(), LILV_URI_INPUT_PORT);
    LilvNode* control = lilv_new_uri(self->m_World.world(), LILV_URI_CONTROL_PORT);
    const bool saved = lilv_port_is_a(self->m_World.plugin(), lilvPort, input)
                       && lilv_port_is_a(self->m_World.plugin(), lilvPort, control);
    lilv_node_free(input);
    lilv_node_free(control);
    if (!saved)
        return nullptr;
    *size = sizeof(float);
    *type = self->m_World.urid(LV2_ATOM__Float);
    return &self->m_Controls[port];
}

void Lv2Instance::setPortValue(const char* symbol, void* user, const void* value, uint32_t size,
                               uint32_t type)
{
    auto* self = static_cast<Lv2Instance*>(user);
    if (size == sizeof(float) && type == self->m_World.urid(LV2_ATOM__Float))
        std::memcpy(&self->m_Controls[self->m_World.portIndex(symbol)], value, sizeof(float));
}

LilvState* Lv2Instance::captureState()
{
    return lilv_state_new_from_instance(m_World.plugin(), m_pInstance, m_World.map(), nullptr, nullptr,
                                        nullptr, nullptr, portValue, this,
                                        LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, m_World.features());
}

void Lv2Instance::applyState(const LilvState* state)
{
    lilv_state_restore(state, m_pInstance, setPortValue, this, 0, m_World.features());
}

} // namespace Lv2Test
