// What an LV2 host keeps of Tessaline across releases: every port's index and symbol, the
// release version, how Decay Type and the panel are described, and that a restored session
// shows every control as it was saved.
#include "Lv2TestHost.h"

#include "lv2/Lv2Version.h"

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using Lv2Test::Lv2Instance;
using Lv2Test::Lv2World;

namespace {
constexpr uint32_t kControls = 11;
constexpr uint32_t kDecayTypePort = 8;

class Lv2Identity : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(world.plugin(), nullptr) << "the plug-in is not in " << TESSALINE_LV2_BUNDLE_PATH;
    }

    std::string symbolAt(uint32_t index) const
    {
        const LilvPort* port = lilv_plugin_get_port_by_index(world.plugin(), index);
        return port ? lilv_node_as_string(lilv_port_get_symbol(world.plugin(), port)) : std::string();
    }

    // Whether the world holds (subject, predicate, object), the object a URI.
    bool holds(const LilvNode* subject, const char* predicate, const char* object) const
    {
        LilvNode* p = lilv_new_uri(world.world(), predicate);
        LilvNode* o = lilv_new_uri(world.world(), object);
        const bool found = lilv_world_ask(world.world(), subject, p, o);
        lilv_node_free(p);
        lilv_node_free(o);
        return found;
    }

    Lv2World world{TESSALINE_LV2_BUNDLE_PATH};
};
} // namespace

TEST_F(Lv2Identity, PortIndicesAndSymbolsNeverChange)
{
    // Saved sessions and presets find ports by these: a change here breaks every one of them.
    // Never edit this table; a new port goes at the end with the next index.
    const char* const kSymbols[] = {"gain",       "position", "vol_l_r", "abs_l_r",    "vol_f_b",
                                    "abs_f_b",    "vol_c_f",  "abs_c_f", "decay_type", "stereo_mono",
                                    "left_right", "enabled",  "latency", "in_l",       "in_r",
                                    "out_l",      "out_r",    "midi_in"};
    constexpr uint32_t kCount = sizeof kSymbols / sizeof kSymbols[0];
    ASSERT_EQ(lilv_plugin_get_num_ports(world.plugin()), kCount);
    for (uint32_t k = 0; k < kCount; ++k)
    {
        EXPECT_EQ(symbolAt(k), kSymbols[k]) << "port " << k;
        EXPECT_EQ(world.portIndex(kSymbols[k]), k) << kSymbols[k];
    }
    // The presets name their ports by the same symbols.
    const auto presets = world.presets();
    EXPECT_EQ(presets.size(), 2u);
    for (const auto& preset : presets)
    {
        LilvNode* uri = lilv_new_uri(world.world(), preset.second.c_str());
        LilvState* state = lilv_state_new_from_world(world.world(), world.map(), uri);
        lilv_node_free(uri);
        ASSERT_NE(state, nullptr) << preset.first;
        std::vector<std::string> symbols;
        lilv_state_emit_port_values(
            state,
            [](const char* symbol, void* user, const void*, uint32_t, uint32_t) {
                static_cast<std::vector<std::string>*>(user)->push_back(symbol);
            },
            &symbols);
        std::vector<std::string> controls(kSymbols, kSymbols + kControls);
        std::sort(symbols.begin(), symbols.end());
        std::sort(controls.begin(), controls.end());
        EXPECT_EQ(symbols, controls) << preset.first;
        lilv_state_free(state);
    }
}

TEST_F(Lv2Identity, AReleasedVersionDecayTypeAsItsEntriesAndARequiredParent)
{
    // An even minor version of 2 or more (hosts may hide 0 and odd ones), from the project's.
    int parts[4] = {0, 0, 0, 0};
    ASSERT_GE(std::sscanf(TESSALINE_VERSION, "%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]), 3);
    const TessalineLv2::Lv2Version expected =
        TessalineLv2::lv2VersionOf(parts[0], parts[1], parts[2], parts[3]);
    auto number = [&](const char* predicate) {
        LilvNode* p = lilv_new_uri(world.world(), predicate);
        LilvNodes* values = lilv_plugin_get_value(world.plugin(), p);
        const LilvNode* value = values ? lilv_nodes_get_first(values) : nullptr;
        const int n = value && lilv_node_is_int(value) ? lilv_node_as_int(value) : -1;
        lilv_nodes_free(values);
        lilv_node_free(p);
        return n;
    };
    const int minor = number(LV2_CORE__minorVersion);
    EXPECT_EQ(minor, expected.minor);
    EXPECT_EQ(number(LV2_CORE__microVersion), expected.micro);
    EXPECT_GE(minor, 2);
    EXPECT_EQ(minor % 2, 0);
    // Later project versions never give an earlier LV2 version.
    const int versions[][4] = {{0, 0, 1, 0}, {0, 0, 1, 1},    {0, 0, 2, 0},
                               {0, 1, 0, 0}, {0, 99, 99, 99}, {1, 0, 0, 0}};
    for (size_t k = 1; k < sizeof versions / sizeof versions[0]; ++k)
    {
        const auto* a = versions[k - 1];
        const auto* b = versions[k];
        const auto va = TessalineLv2::lv2VersionOf(a[0], a[1], a[2], a[3]);
        const auto vb = TessalineLv2::lv2VersionOf(b[0], b[1], b[2], b[3]);
        EXPECT_TRUE(vb.minor > va.minor || (vb.minor == va.minor && vb.micro > va.micro)) << k;
        EXPECT_EQ(vb.minor % 2, 0) << k;
    }

    // Decay Type: an enumeration of the whole values the plug-in shows, never a checkbox.
    const LilvPort* decay = lilv_plugin_get_port_by_index(world.plugin(), kDecayTypePort);
    ASSERT_NE(decay, nullptr);
    auto hasProperty = [&](const LilvPort* port, const char* property) {
        LilvNode* node = lilv_new_uri(world.world(), property);
        const bool has = lilv_port_has_property(world.plugin(), port, node);
        lilv_node_free(node);
        return has;
    };
    EXPECT_TRUE(hasProperty(decay, LV2_CORE__enumeration));
    EXPECT_TRUE(hasProperty(decay, LV2_CORE__integer));
    EXPECT_FALSE(hasProperty(decay, LV2_CORE__toggled));
    LilvScalePoints* points = lilv_port_get_scale_points(world.plugin(), decay);
    ASSERT_NE(points, nullptr);
    std::vector<std::pair<float, std::string>> entries;
    LILV_FOREACH(scale_points, i, points)
    {
        const LilvScalePoint* point = lilv_scale_points_get(points, i);
        entries.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                             lilv_node_as_string(lilv_scale_point_get_label(point)));
    }
    lilv_scale_points_free(points);
    std::sort(entries.begin(), entries.end());
    const std::vector<std::pair<float, std::string>> shown = {{0.0f, "0"}, {1.0f, "1"}};
    EXPECT_EQ(entries, shown);
    // No other port claims a unit it does not have: the room's controls are unitless.
    LilvNode* unit = lilv_new_uri(world.world(), "http://lv2plug.in/ns/extensions/units#unit");
    for (uint32_t k = 0; k < kControls; ++k)
    {
        LilvNodes* units =
            lilv_port_get_value(world.plugin(), lilv_plugin_get_port_by_index(world.plugin(), k), unit);
        EXPECT_EQ(units ? lilv_nodes_size(units) : 0u, 0u) << k;
        lilv_nodes_free(units);
    }
    lilv_node_free(unit);

    // The panel cannot work without a parent window: a host that offers none must not load it.
    LilvUIs* uis = lilv_plugin_get_uis(world.plugin());
    ASSERT_NE(uis, nullptr);
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
    EXPECT_TRUE(holds(lilv_ui_get_uri(ui), LV2_CORE__requiredFeature, LV2_UI__parent));
    EXPECT_FALSE(holds(lilv_ui_get_uri(ui), LV2_CORE__optionalFeature, LV2_UI__parent));
    EXPECT_TRUE(holds(lilv_ui_get_uri(ui), LV2_CORE__requiredFeature, LV2_UI__idleInterface));
    lilv_uis_free(uis);
}

TEST_F(Lv2Identity, EveryControlReadsBackWhatARestoredSessionHolds)
{
    // Per control: values to save and to move to in between (plain units), fractions included;
    // the room uses the nearest whole value of Position, Decay Type and the switches.
    struct Case
    {
        uint32_t port;
        std::vector<float> values;
    };
    const Case cases[] = {
        {0, {0.0f, 0.21f, 0.679f, 1.0f}},
        {1, {0.0f, 3.4f, 6.0f, 10.0f}},
        {2, {0.0f, 0.33f, 1.0f}},
        {3, {0.0f, 2.94f, 14.0f}},
        {4, {0.0f, 0.5f, 1.0f}},
        {5, {0.0f, 9.5f, 14.0f}},
        {6, {0.1f, 0.75f}},
        {7, {1.0f, 13.0f}},
        {8, {0.0f, 0.21f, 0.679f, 1.0f}},
        {9, {0.0f, 0.4f, 1.0f}},
        {10, {0.0f, 0.6f, 1.0f}},
    };
    Lv2Instance plug(world, 48000.0, 64);
    ASSERT_TRUE(plug.valid());
    plug.run(64);
    for (const Case& c : cases)
        for (float saved : c.values)
            for (float other : c.values)
            {
                if (other == saved)
                    continue;
                plug.control(c.port) = saved;
                plug.run(64);
                std::vector<uint8_t> before;
                uint32_t type = 0;
                ASSERT_EQ(plug.save(before, type), LV2_STATE_SUCCESS);
                LilvState* state = plug.captureState();
                ASSERT_NE(state, nullptr);
                plug.control(c.port) = other;
                plug.run(64);
                plug.applyState(state);
                lilv_state_free(state);
                EXPECT_EQ(plug.control(c.port), saved) << "port " << c.port << " then " << other;
                plug.run(64);
                std::vector<uint8_t> after;
                ASSERT_EQ(plug.save(after, type), LV2_STATE_SUCCESS);
                EXPECT_EQ(after, before) << "port " << c.port << " saved " << saved << " then " << other;
            }
}
