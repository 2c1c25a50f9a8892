// The editor in a real X window on a host run loop (Xvfb in CI; skipped without DISPLAY):
// the built bundle's panel, found through the module's own location, takes a real click and
// follows host automation; in-process, the timer pings the DSP object while the view is
// attached and stops when it is removed.
#include "EditorFixture.h"
#include "support/TestX11Host.h"

#include "HostInstance.h"
#include "HostModule.h"
#include "factory/TessalineIds.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

using namespace EditorTest;
namespace fs = std::filesystem;

namespace {

class BundleEditorX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.available())
            GTEST_SKIP() << "no X server (set DISPLAY, e.g. with Xvfb)";
    }

    // Loads the bundle from `path`, creates and initializes the effect (by default the original
    // room), attaches its editor.
    void openEditor(const std::string& path, const uint8_t* classId = Tessaline::kProcessorCid)
    {
        ASSERT_TRUE(module.load(path)) << module.error();
        TUID cid;
        std::memcpy(cid, classId, sizeof cid);
        ASSERT_TRUE(instance.create(module.factory(), cid));
        ASSERT_EQ(instance.initialize(), kResultOk);
        view = instance.getController()->createView(ViewType::kEditor);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->setFrame(&host), kResultOk);
        ASSERT_EQ(view->attached(host.parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
        host.runFor(300);
    }

    void TearDown() override
    {
        if (view)
        {
            view->removed();
            view->setFrame(nullptr);
            view->release();
        }
        instance.destroy();
    }

    TestX11Host host;
    TessalineHost::HostModule module;
    TessalineHost::HostInstance instance;
    IPlugView* view = nullptr;
};

} // namespace

TEST_F(BundleEditorX11, RealClickOnDecayTypeIsOneUndoableEdit)
{
    openEditor(TESSALINE_BUNDLE_PATH);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 303);
    EXPECT_EQ(size.getHeight(), 525);
    EXPECT_TRUE(host.screenshot(std::string(TESSALINE_PICTURE_DIR) + "/panel-x11.png"));

    IEditController* controller = instance.getController();
    const double before = controller->getParamNormalized(8);
    const auto lever = host.pixels(129, 273, 171, 315);
    instance.handler().reset();
    host.click(150, 294);
    host.runFor(200);
    EXPECT_EQ(controller->getParamNormalized(8), 1.0 - before);
    EXPECT_EQ(instance.handler().beginEditCount, 1);
    EXPECT_EQ(instance.handler().endEditCount, 1);
    ASSERT_EQ(instance.handler().edits.size(), 1u);
    EXPECT_EQ(instance.handler().edits[0].id, 8u);
    EXPECT_EQ(instance.handler().edits[0].value, 1.0 - before);
    EXPECT_NE(host.pixels(129, 273, 171, 315), lever);
}

TEST_F(BundleEditorX11, AutomationMovesTheKnobOnTheNextRepaint)
{
    openEditor(TESSALINE_BUNDLE_PATH);
    IEditController* controller = instance.getController();
    const auto knob = host.pixels(180, 65, 222, 107); // "Abs L-R"
    controller->setParamNormalized(3, 1.0);
    host.runFor(200);
    EXPECT_NE(host.pixels(180, 65, 222, 107), knob);
    EXPECT_TRUE(instance.handler().edits.empty()); // a host change is not sent back
}

// The rate-true room opens the same panel, which follows automation as the original's does.
TEST_F(BundleEditorX11, AnyRateRoomOpensTheSamePanel)
{
    openEditor(TESSALINE_BUNDLE_PATH, Tessaline::kAnyRateCid);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 303);
    EXPECT_EQ(size.getHeight(), 525);
    const auto knob = host.pixels(180, 65, 222, 107); // "Abs L-R"
    instance.getController()->setParamNormalized(3, 1.0);
    host.runFor(200);
    EXPECT_NE(host.pixels(180, 65, 222, 107), knob);
}

TEST_F(BundleEditorX11, PanelFoundThroughALinkedBundle)
{
    const fs::path link = fs::temp_directory_path() / "tessaline-linked" / "Tessaline.vst3";
    fs::remove_all(link.parent_path());
    fs::create_directories(link.parent_path());
    fs::create_directory_symlink(TESSALINE_BUNDLE_PATH, link);
    openEditor(link.string());
    // The artwork is drawn: the knob's pointer region is not the plain background grey.
    const auto knob = host.pixels(180, 65, 222, 107);
    size_t dark = 0;
    for (const auto& c : knob)
        dark += (c.red + c.green + c.blue) < 3 * 60 ? 1 : 0;
    EXPECT_GT(dark, 20u);
    TearDown();
    view = nullptr;
    fs::remove_all(link.parent_path());
}

TEST(EditorTimerX11, PingsWhileAttachedAndStopsWhenRemoved)
{
    TestX11Host host;
    if (!host.available())
        GTEST_SKIP() << "no X server (set DISPLAY, e.g. with Xvfb)";
    auto* dsp = new EditorDsp;
    ProcessorHolder holder(dsp);
    ASSERT_EQ(holder->initialize(nullptr), kResultOk);
    OffscreenEditor session(holder.processor); // created, not opened: the host attaches it
    ASSERT_NE(session.view, nullptr);
    dsp->uiMessages.clear();
    ASSERT_EQ(session.view->setFrame(&host), kResultOk);
    ASSERT_EQ(session.view->attached(host.parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
    host.runFor(1000);
    const auto codes = dsp->codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), kUiDidOpen);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kUiDidOpen), 1);
    // About twenty ticks a second; the run loop may deliver late under load, never early.
    const auto pings = std::count(codes.begin(), codes.end(), kUiTimerPing);
    EXPECT_GE(pings, 2);
    EXPECT_LE(pings, 21);

    ASSERT_EQ(session.view->removed(), kResultOk);
    const auto afterClose = dsp->codes();
    EXPECT_EQ(afterClose.back(), kUiWillClose);
    host.runFor(300);
    EXPECT_EQ(dsp->codes(), afterClose);
    EXPECT_EQ(host.timerCount(), 0u);
    session.view->setFrame(nullptr);
}
