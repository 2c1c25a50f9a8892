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

// Two instances' panels open at once, each in its host window with that window's run loop,
// closed in one order and then the other, fifty times. Each panel's timer stays on its own
// loop: also one restarted (a new idle rate) while the other panel is the newer one, which must
// keep ticking after the newer panel has gone, and leave nothing on a loop that is gone.
TEST(EditorTimerX11, TwoPanelsOpenAtOnceKeepTheirOwnTimers)
{
    TestX11Host hostA, hostB;
    if (!hostA.available() || !hostB.available())
        GTEST_SKIP() << "no X server (set DISPLAY, e.g. with Xvfb)";
    auto* dspA = new EditorDsp;
    auto* dspB = new EditorDsp;
    ProcessorHolder holderA(dspA), holderB(dspB);
    ASSERT_EQ(holderA->initialize(nullptr), kResultOk);
    ASSERT_EQ(holderB->initialize(nullptr), kResultOk);
    auto pings = [](const EditorDsp* dsp) {
        const auto codes = dsp->codes();
        return std::count(codes.begin(), codes.end(), kUiTimerPing);
    };
    for (int cycle = 0; cycle < 50; ++cycle)
    {
        OffscreenEditor a(holderA.processor), b(holderB.processor);
        ASSERT_NE(a.editor, nullptr);
        ASSERT_NE(b.editor, nullptr);
        ASSERT_EQ(a.view->setFrame(&hostA), kResultOk);
        ASSERT_EQ(a.view->attached(hostA.parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
        ASSERT_EQ(b.view->setFrame(&hostB), kResultOk);
        ASSERT_EQ(b.view->attached(hostB.parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
        a.editor->setIdleRate(40); // the older panel's timer starts again, the newer one open
        // Closing the newer panel first, then the older one; the other way on odd cycles.
        OffscreenEditor& first = cycle % 2 == 0 ? b : a;
        OffscreenEditor& second = cycle % 2 == 0 ? a : b;
        TestX11Host& secondHost = cycle % 2 == 0 ? hostA : hostB;
        const EditorDsp* secondDsp = cycle % 2 == 0 ? dspA : dspB;
        hostA.runFor(20);
        hostB.runFor(20);
        ASSERT_EQ(first.view->removed(), kResultOk);
        first.view->setFrame(nullptr);
        const auto before = pings(secondDsp);
        secondHost.runFor(150);
        EXPECT_GT(pings(secondDsp), before) << "cycle " << cycle << ": the open panel's timer stopped";
        ASSERT_EQ(second.view->removed(), kResultOk);
        second.view->setFrame(nullptr);
        ASSERT_EQ(hostA.timerCount() + hostB.timerCount(), 0u) << "cycle " << cycle;
        ASSERT_EQ(hostA.eventHandlerCount() + hostB.eventHandlerCount(), 0u) << "cycle " << cycle;
    }
}
