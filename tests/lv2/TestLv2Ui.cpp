// The LV2 panel (TessalineUI.so) as an LV2 host embeds it, under an X server (Xvfb in CI;
// skipped without DISPLAY): inside the host's parent window, sized through ui:resize, driven by
// idle calls only; it draws the same panel as the VST3 editor, a real click on a switch writes
// that port once inside a touch gesture, a port event moves a knob on the next idle, and opening
// and closing it again and again leaves no window, descriptor or mapping behind.
#include "support/TestX11Host.h"

#include "HostInstance.h"
#include "HostModule.h"
#include "factory/TessalineIds.h"

#include <cairo.h>
#include <lv2/ui/ui.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {
const char* const kPluginUri = "https://tessaline.quorvane.example/plugins/tessaline";

// The pixels of a PNG the host wrote (ARGB words), empty when it cannot be read.
std::vector<uint32_t> pixelsOf(const std::string& png, int& width, int& height)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    std::vector<uint32_t> pixels;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_flush(surface);
        width = cairo_image_surface_get_width(surface);
        height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                uint32_t pixel;
                std::memcpy(&pixel, data + y * stride + x * 4, sizeof pixel);
                pixels.push_back(pixel);
            }
    }
    cairo_surface_destroy(surface);
    return pixels;
}

size_t openDescriptors()
{
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// What the host side of the UI records: port writes, touch gestures, resize requests.
struct HostSide
{
    struct Write
    {
        uint32_t port;
        float value;
    };
    std::vector<Write> writes;
    std::vector<std::pair<uint32_t, bool>> touches;
    std::vector<std::pair<int, int>> sizes;

    static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer)
    {
        auto* self = static_cast<HostSide*>(controller);
        if (size == sizeof(float) && format == 0)
        {
            float value;
            std::memcpy(&value, buffer, sizeof value);
            self->writes.push_back({port, value});
        }
    }
    static void touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed)
    {
        static_cast<HostSide*>(handle)->touches.emplace_back(port, grabbed);
    }
    static int resize(LV2UI_Feature_Handle handle, int width, int height)
    {
        static_cast<HostSide*>(handle)->sizes.emplace_back(width, height);
        return 0;
    }
};

class Lv2PanelX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.available())
            GTEST_SKIP() << "no X server (set DISPLAY, e.g. with Xvfb)";
        module = dlopen((std::string(TESSALINE_LV2_BUNDLE_PATH) + "/TessalineUI.so").c_str(),
                        RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr) << dlerror();
        auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(module, "lv2ui_descriptor"));
        ASSERT_NE(entry, nullptr);
        descriptor = entry(0);
        ASSERT_NE(descriptor, nullptr);
        EXPECT_EQ(entry(1), nullptr);
        idle = static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
        ASSERT_NE(idle, nullptr);
    }

    void TearDown() override
    {
        close();
        // The module stays mapped (-z nodelete), as it does in a host.
        if (module)
            dlclose(module);
    }

    void open(const char* pluginUri = kPluginUri)
    {
        parentFeature = {LV2_UI__parent, host.parent()};
        touchFeature = {LV2_UI__touch, &touchData};
        resizeFeature = {LV2_UI__resize, &resizeData};
        idleFeature = {LV2_UI__idleInterface, nullptr};
        const LV2_Feature* features[] = {&parentFeature, &touchFeature, &resizeFeature, &idleFeature,
                                         nullptr};
        LV2UI_Widget widget = nullptr;
        handle = descriptor->instantiate(descriptor, pluginUri, TESSALINE_LV2_BUNDLE_PATH, HostSide::write,
                                         &side, &widget, features);
        ASSERT_NE(handle, nullptr);
        EXPECT_NE(widget, nullptr);
    }

    void close()
    {
        if (handle)
            descriptor->cleanup(handle);
        handle = nullptr;
    }

    // The host's idle: the UI's idle call between rounds of the host's own loop.
    void pump(int rounds)
    {
        for (int i = 0; i < rounds; ++i)
        {
            ASSERT_EQ(idle->idle(handle), 0);
            host.runFor(20);
        }
    }

    void portEvent(uint32_t port, float value)
    {
        descriptor->port_event(handle, port, sizeof value, 0, &value);
    }

    TestX11Host host;
    void* module = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    LV2UI_Handle handle = nullptr;
    HostSide side;
    LV2UI_Touch touchData{&side, HostSide::touch};
    LV2UI_Resize resizeData{&side, HostSide::resize};
    LV2_Feature parentFeature{}, touchFeature{}, resizeFeature{}, idleFeature{};
};

TEST_F(Lv2PanelX11, DrawsTheVst3PanelAtItsFixedSize)
{
    open();
    pump(15);
    ASSERT_EQ(side.sizes.size(), 1u);
    EXPECT_EQ(side.sizes[0], std::make_pair(303, 525));
    EXPECT_EQ(host.childWindowCount(), 1u);
    const std::string lv2Png = std::string(TESSALINE_LV2_SCRATCH) + "/lv2-panel.png";
    const std::string vst3Png = std::string(TESSALINE_LV2_SCRATCH) + "/vst3-panel.png";
    ASSERT_TRUE(host.screenshot(lv2Png));
    close();
    host.runFor(100);

    // The VST3 editor of the built bundle, at its defaults, in the same parent window.
    TessalineHost::HostModule vst3;
    ASSERT_TRUE(vst3.load(TESSALINE_BUNDLE_PATH)) << vst3.error();
    TessalineHost::HostInstance instance;
    Steinberg::TUID cid;
    std::memcpy(cid, Tessaline::kProcessorCid, sizeof cid);
    ASSERT_TRUE(instance.create(vst3.factory(), cid));
    ASSERT_EQ(instance.initialize(), Steinberg::kResultOk);
    Steinberg::IPlugView* view = instance.getController()->createView(Steinberg::Vst::ViewType::kEditor);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->setFrame(&host), Steinberg::kResultOk);
    ASSERT_EQ(view->attached(host.parent(), Steinberg::kPlatformTypeX11EmbedWindowID), Steinberg::kResultOk);
    host.runFor(300);
    ASSERT_TRUE(host.screenshot(vst3Png));
    view->removed();
    view->setFrame(nullptr);
    view->release();
    instance.destroy();
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    const auto lv2 = pixelsOf(lv2Png, w1, h1);
    const auto vst = pixelsOf(vst3Png, w2, h2);
    EXPECT_EQ(std::make_pair(w1, h1), std::make_pair(w2, h2)); // the host window, panel inside
    ASSERT_FALSE(lv2.empty());
    EXPECT_TRUE(lv2 == vst) << "the LV2 panel differs from the VST3 panel: " << lv2Png << ", " << vst3Png;
}

TEST_F(Lv2PanelX11, ClickOnASwitchWritesItsPortOnceInAGesture)
{
    open();
    pump(10);
    const auto lever = host.pixels(129, 273, 171, 315); // "Decay Type", port 8, default 1
    host.click(150, 294);
    pump(10);
    ASSERT_EQ(side.writes.size(), 1u);
    EXPECT_EQ(side.writes[0].port, 8u);
    EXPECT_EQ(side.writes[0].value, 0.0f);
    const std::vector<std::pair<uint32_t, bool>> gesture = {{8u, true}, {8u, false}};
    EXPECT_EQ(side.touches, gesture);
    EXPECT_NE(host.pixels(129, 273, 171, 315), lever);
}

TEST_F(Lv2PanelX11, PortEventMovesTheKnobOnTheNextIdleAndIsNotSentBack)
{
    open();
    pump(10);
    const auto knob = host.pixels(180, 65, 222, 107); // "Abs L-R", port 3
    portEvent(3, 14.0f);
    portEvent(40, 1.0f);                             // no such port: ignored
    portEvent(1, std::nanf(""));                     // not a value: ignored
    EXPECT_EQ(host.pixels(180, 65, 222, 107), knob); // nothing before the idle
    pump(6);
    EXPECT_NE(host.pixels(180, 65, 222, 107), knob);
    EXPECT_TRUE(side.writes.empty());
}

TEST_F(Lv2PanelX11, FiftyOpenCloseCyclesLeaveNothingBehind)
{
    open();
    pump(3);
    close();
    host.runFor(50);
    const size_t descriptors = openDescriptors();
    for (int cycle = 0; cycle < 50; ++cycle)
    {
        open();
        pump(2);
        EXPECT_EQ(host.childWindowCount(), 1u) << "cycle " << cycle;
        close();
        host.runFor(10);
        ASSERT_EQ(host.childWindowCount(), 0u) << "cycle " << cycle;
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(host.eventHandlerCount() + host.timerCount(), 0u); // the panel never uses the host's loop
}

// The rate-true room of the bundle shares the panel: it opens for that URI too, in the same window.
TEST_F(Lv2PanelX11, OpensForTheAnyRateRoomToo)
{
    open("https://tessaline.quorvane.example/plugins/tessaline-any-rate");
    EXPECT_EQ(host.childWindowCount(), 1u);
    close();
    EXPECT_EQ(host.childWindowCount(), 0u);
}

TEST_F(Lv2PanelX11, RefusedWithoutParentOrForAnotherPlugin)
{
    const LV2_Feature* none[] = {nullptr};
    LV2UI_Widget widget = nullptr;
    EXPECT_EQ(descriptor->instantiate(descriptor, kPluginUri, TESSALINE_LV2_BUNDLE_PATH, HostSide::write,
                                      &side, &widget, none),
              nullptr);
    parentFeature = {LV2_UI__parent, host.parent()};
    const LV2_Feature* parentOnly[] = {&parentFeature, nullptr};
    EXPECT_EQ(descriptor->instantiate(descriptor, "urn:another:plugin", TESSALINE_LV2_BUNDLE_PATH,
                                      HostSide::write, &side, &widget, parentOnly),
              nullptr);
    EXPECT_EQ(host.childWindowCount(), 0u);
}
} // namespace

// Two instances' panels open at once, each in its own host window, closed in one order and then
// the other, fifty times: each keeps running on its own idle calls after the other has gone,
// and neither leaves a window behind.
TEST_F(Lv2PanelX11, TwoPanelsOpenAtOnceCloseInEitherOrder)
{
    TestX11Host otherHost;
    HostSide otherSide;
    const LV2_Feature otherParent{LV2_UI__parent, otherHost.parent()};
    const LV2_Feature* otherFeatures[] = {&otherParent, nullptr};
    for (int cycle = 0; cycle < 50; ++cycle)
    {
        open();
        LV2UI_Widget widget = nullptr;
        LV2UI_Handle other = descriptor->instantiate(descriptor, kPluginUri, TESSALINE_LV2_BUNDLE_PATH,
                                                     HostSide::write, &otherSide, &widget, otherFeatures);
        ASSERT_NE(other, nullptr) << "cycle " << cycle;
        ASSERT_EQ(idle->idle(handle), 0);
        ASSERT_EQ(idle->idle(other), 0);
        if (cycle % 2 == 0)
        {
            descriptor->cleanup(other); // the newer panel first
            pump(2);
            close();
        }
        else
        {
            close();
            for (int round = 0; round < 2; ++round)
            {
                ASSERT_EQ(idle->idle(other), 0);
                otherHost.runFor(20);
            }
            descriptor->cleanup(other);
        }
        host.runFor(10);
        otherHost.runFor(10);
        ASSERT_EQ(host.childWindowCount() + otherHost.childWindowCount(), 0u) << "cycle " << cycle;
    }
}
