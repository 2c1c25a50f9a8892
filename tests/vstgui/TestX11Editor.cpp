// The editor embedded in a real X window (Xvfb in CI) on the test host's run loop: it draws,
// takes real pointer clicks, redraws at content scale 2, shows its option list as a popup
// window, and attaching and removing it any number of times leaves nothing behind.

#include "TestAssets.h"
#include "TestController.h"
#include "support/TestX11Host.h"

#include "vstgui/vstgui.h"

#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace TestAssets::Geometry;

namespace {

class X11Editor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.available())
            GTEST_SKIP() << "no X server (set DISPLAY, e.g. with Xvfb)";
        controller = new TestController();
    }
    void TearDown() override
    {
        if (controller)
            controller->release();
    }
    VST3Editor* attach()
    {
        VST3Editor* editor = controller->createEditor();
        editor->setFrame(&host);
        EXPECT_EQ(editor->attached(host.parent(), Steinberg::kPlatformTypeX11EmbedWindowID),
                  Steinberg::kResultTrue);
        return editor;
    }
    void expectNothingLeft()
    {
        EXPECT_EQ(host.eventHandlerCount(), 0u);
        EXPECT_EQ(host.timerCount(), 0u);
        EXPECT_EQ(host.childWindowCount(), 0u);
        EXPECT_EQ(host.popupWindowCount(), 0u);
    }

    TestX11Host host;
    TestController* controller{nullptr};
};

TEST_F(X11Editor, DrawsTakesRealClicksAndRedrawsAtScaleTwo)
{
    VST3Editor* editor = attach();
    EXPECT_EQ(host.eventHandlerCount(), 1u);
    EXPECT_EQ(host.timerCount(), 2u); // the editor's idle timer and the window's paint timer
    EXPECT_EQ(host.childWindowCount(), 1u);
    host.runFor(300);
    EXPECT_TRUE(host.screenshot(TestAssets::directory() + "/x11-editor-x1.png"));
    EXPECT_EQ(host.pixel(int(kSwitchCenterX), int(kSwitchCenterY)), TestAssets::kSwitchOff);

    host.click(int(kSwitchCenterX), int(kSwitchCenterY));
    host.runFor(300);
    EXPECT_EQ(controller->getParamNormalized(8), 1.);
    ASSERT_EQ(controller->handler.records.size(), 3u);
    EXPECT_EQ(controller->handler.records[1].kind, EditRecord::Perform);
    EXPECT_EQ(host.pixel(int(kSwitchCenterX), int(kSwitchCenterY)), TestAssets::kSwitchOn);

    // Automation shows without any event of the window's own.
    controller->setParamNormalized(0, 79 / 79.);
    host.runFor(100);
    EXPECT_EQ(host.pixel(int(kKnobCenterX), int(kKnobCenterY)), TestAssets::frameColor(79));
    controller->setParamNormalized(0, 0.5);

    // Content scale 2: the host is asked for twice the pixels and gets a sharp 2x drawing.
    Steinberg::FUnknownPtr<Steinberg::IPlugViewContentScaleSupport> scaling(
        static_cast<Steinberg::IPlugView*>(editor));
    ASSERT_TRUE(scaling);
    EXPECT_EQ(scaling->setContentScaleFactor(2.f), Steinberg::kResultTrue);
    EXPECT_EQ(host.resizeRequests, 1);
    EXPECT_EQ(host.lastResize.getWidth(), 400);
    EXPECT_EQ(host.lastResize.getHeight(), 300);
    host.runFor(300);
    EXPECT_TRUE(host.screenshot(TestAssets::directory() + "/x11-editor-x2.png"));
    EXPECT_EQ(host.pixel(int(2 * kSwitchCenterX), int(2 * kSwitchCenterY)), TestAssets::kSwitchOn);
    EXPECT_EQ(host.pixel(int(2 * kKnobCenterX), int(2 * kKnobCenterY)), TestAssets::frameColor(39));
    // A click at 2x pixels reaches the same switch.
    host.click(int(2 * kSwitchCenterX), int(2 * kSwitchCenterY));
    host.runFor(300);
    EXPECT_EQ(controller->getParamNormalized(8), 0.);

    EXPECT_EQ(editor->removed(), Steinberg::kResultOk);
    expectNothingLeft();
    editor->release();
}

TEST_F(X11Editor, OptionListOpensAsPopupWindowAndSelectsWithThePointer)
{
    VST3Editor* editor = attach();
    host.runFor(200);
    host.click(int(kMenuX), int(kMenuY));
    host.runFor(300);
    EXPECT_EQ(host.popupWindowCount(), 1u);
    CView* popupList = editor->getFrame()->getModalView();
    ASSERT_NE(popupList, nullptr);
    const CRect r = popupList->getViewSize();
    const double row = (r.getHeight() - 2) / 11;
    // The list opens below the menu; rows are in frame coordinates like everything else.
    host.click(int(r.left + 10), int(r.top + 1 + 6.5 * row));
    host.runFor(300);
    EXPECT_EQ(host.popupWindowCount(), 0u);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.6, 1e-6);
    editor->removed();
    expectNothingLeft();
    editor->release();
}

TEST_F(X11Editor, TextEntryTakesRealKeys)
{
    VST3Editor* editor = attach();
    host.runFor(200);
    host.click(int(kEditX), int(kEditY));
    host.runFor(100);
    std::vector<uint32_t> keys(8, 0xff08); // BackSpace
    for (char c : std::string("0.25"))
        keys.push_back(static_cast<uint32_t>(c));
    keys.push_back(0xff0d); // Return
    host.pressKeys(keys);
    host.runFor(100);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.25);
    editor->removed();
    expectNothingLeft();
    editor->release();
}

TEST_F(X11Editor, ManyOpenCloseCyclesLeaveNothingRegistered)
{
    for (int cycle = 0; cycle < 50; ++cycle)
    {
        VST3Editor* editor = attach();
        host.runFor(cycle % 10 == 0 ? 60 : 5);
        EXPECT_EQ(editor->removed(), Steinberg::kResultOk);
        expectNothingLeft();
        editor->release();
        if (HasFailure())
            break;
    }
    EXPECT_EQ(controller->opened, 50);
    EXPECT_EQ(controller->closed, 50);

    // Attach, remove, attach again on one view; then destroy it while attached.
    VST3Editor* editor = attach();
    host.runFor(50);
    editor->removed();
    EXPECT_EQ(editor->attached(host.parent(), Steinberg::kPlatformTypeX11EmbedWindowID),
              Steinberg::kResultTrue);
    host.runFor(50);
    EXPECT_EQ(host.childWindowCount(), 1u);
    editor->release();
    expectNothingLeft();
}

TEST_F(X11Editor, RefusesWhatItCannotShow)
{
    VST3Editor* editor = controller->createEditor();
    EXPECT_EQ(editor->isPlatformTypeSupported(Steinberg::kPlatformTypeHWND), Steinberg::kResultFalse);
    EXPECT_NE(editor->attached(host.parent(), Steinberg::kPlatformTypeHWND), Steinberg::kResultTrue);
    // Without a run loop from the frame there is nothing to run on.
    EXPECT_NE(editor->attached(host.parent(), Steinberg::kPlatformTypeX11EmbedWindowID),
              Steinberg::kResultTrue);
    EXPECT_NE(editor->attached(nullptr, Steinberg::kPlatformTypeX11EmbedWindowID), Steinberg::kResultTrue);
    expectNothingLeft();
    editor->release();
}

} // namespace
