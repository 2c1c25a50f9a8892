// A small lilv host for the tests: loads the built bundle (laid out as installed), instantiates
// the plug-in with a URID map, connects every port to its own buffer, runs blocks, and reaches
// the state interface and the presets the way hosts do.
#pragma once

#include <lilv/lilv.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Lv2Test {

// One loaded bundle: the world, the URID map and the plug-in description.
class Lv2World
{
public:
    // The bundle's plug-in of that URI (by default the original room).
    explicit Lv2World(const std::string& bundleDir, const char* pluginUri = nullptr);
    ~Lv2World();
    Lv2World(const Lv2World&) = delete;
    Lv2World& operator=(const Lv2World&) = delete;

    const LilvPlugin* plugin() const { return m_pPlugin; }
    LilvWorld* world() const { return m_pWorld; }
    LV2_URID_Map* map() { return &m_Map; }
    LV2_URID_Unmap* unmap() { return &m_Unmap; }
    LV2_URID urid(const char* uri) { return m_Map.map(m_Map.handle, uri); }
    const LV2_Feature* const* features() const { return m_Features; }
    uint32_t portIndex(const char* symbol) const;
    // Label -> preset URI of every preset the bundle lists for the plug-in.
    std::vector<std::pair<std::string, std::string>> presets();

private:
    static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri);
    static const char* unmapUrid(LV2_URID_Unmap_Handle handle, LV2_URID urid);

    LilvWorld* m_pWorld = nullptr;
    const LilvPlugin* m_pPlugin = nullptr;
    std::vector<std::string> m_Uris;
    LV2_URID_Map m_Map{};
    LV2_URID_Unmap m_Unmap{};
    LV2_Feature m_MapFeature{};
    LV2_Feature m_UnmapFeature{};
    const LV2_Feature* m_Features[3] = {};
};

// One instance, every port connected to a buffer of the largest block size.
class Lv2Instance
{
public:
    Lv2Instance(Lv2World& world, double rate, uint32_t maxBlock);
    ~Lv2Instance();
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    bool valid() const { return m_pInstance != nullptr; }
    float& control(uint32_t port) { return m_Controls[port]; }
    float* input(int channel) { return m_Audio[channel].data(); }
    float* output(int channel) { return m_Audio[2 + channel].data(); }
    // Leaves the right input unconnected (a mono host).
    void disconnectRightInput();
    // Replaces the MIDI input's events for the next run: (frame, bytes) pairs.
    void setMidi(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& events);
    void run(uint32_t frames);

    // Through the plug-in's state interface directly: the stored value (key, type, bytes) ...
    LV2_State_Status save(std::vector<uint8_t>& bytes, uint32_t& type);
    // ... and a restore that offers `bytes` of `type` under the plug-in's state key.
    LV2_State_Status restore(const std::vector<uint8_t>& bytes, uint32_t type);
    // lilv's own state handling: a whole state (ports and properties) as lilv saves it, applied back.
    LilvState* captureState();
    void applyState(const LilvState* state);

    LilvInstance* instance() const { return m_pInstance; }

private:
    static const void* portValue(const char* symbol, void* user, uint32_t* size, uint32_t* type);
    static void setPortValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t type);

    Lv2World& m_World;
    LilvInstance* m_pInstance = nullptr;
    std::vector<float> m_Controls;
    std::vector<std::vector<float>> m_Audio;
    std::vector<uint64_t> m_Midi; // an atom sequence, 8-byte aligned
};

} // namespace Lv2Test
