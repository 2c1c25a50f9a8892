// Synthesized pointer, wheel and key events on an editor opened offscreen: every gesture must
// reach the host as one beginEdit, the edits, one endEdit, for the parameter of the control's
// tag; parameter changes from the host must move the controls.

#include "TestAssets.h"
#include "TestController.h"

#include "vstgui/vstgui.h"

#include "base/source/updatehandler.h"
#include "public.sdk/source/vst/vstparameters.h"

#include <gtest/gtest.h>

using namespace VSTGUI;
using Steinberg::Vst::ParamID;

namespace {

class Interaction : public ::testing::Test
{
protected:
    void SetUp() override
    {
        controller = new TestController();
        editor = controller->createEditor();
        ASSERT_TRUE(editor->open(nullptr, kDefaultNative));
        frame = editor->getFrame();
        ASSERT_NE(frame, nullptr);
        controller->handler.records.clear();
    }
    void TearDown() override
    {
        controller->setKnobMode(Steinberg::Vst::kCircularMode);
        editor->close();
        editor->release();
        controller->release();
    }

    void click(CPoint p, int32_t buttons = kLButton)
    {
        frame->onMouseDown(p, buttons);
        frame->onMouseUp(p, buttons);
    }
    void key(unsigned char virt, int32_t character = 0)
    {
        VstKeyCode code;
        code.virt = virt;
        code.character = character;
        frame->onKeyDown(code);
    }
    void type(const std::string& text)
    {
        for (char c : text)
            key(0, c);
    }
    template <class T>
    T* findView(int32_t tag)
    {
        std::vector<T*> views;
        frame->getChildViewsOfType<T>(views, true);
        for (T* v : views)
            if (v->getTag() == tag)
                return v;
        return nullptr;
    }
    // The records as "B0 P0=0.6 E0" for readable comparisons.
    std::string recorded() const
    {
        std::string s;
        char buffer[64];
        for (const auto& r : controller->handler.records)
        {
            if (r.kind == EditRecord::Perform)
                std::snprintf(buffer, sizeof(buffer), "P%u=%.3g ", r.id, r.value);
            else
                std::snprintf(buffer, sizeof(buffer), "%c%u ", r.kind == EditRecord::Begin ? 'B' : 'E', r.id);
            s += buffer;
        }
        return s;
    }

    TestController* controller{nullptr};
    VST3Editor* editor{nullptr};
    CFrame* frame{nullptr};
};

using namespace TestAssets::Geometry;

TEST_F(Interaction, LinearKnobDragIsOneGestureWithTheDraggedValues)
{
    controller->setKnobMode(Steinberg::Vst::kLinearMode);
    CPoint p(kKnobCenterX, kKnobCenterY);
    frame->onMouseDown(p, kLButton);
    for (double up : {20, 40})
    {
        CPoint q(kKnobCenterX, kKnobCenterY - up);
        frame->onMouseMoved(q, kLButton);
    }
    CPoint q(kKnobCenterX, kKnobCenterY - 40);
    frame->onMouseUp(q, kLButton);
    EXPECT_EQ(recorded(), "B0 P0=0.6 P0=0.7 E0 ");
    EXPECT_NEAR(controller->getParamNormalized(0), 0.7, 1e-6);
    auto* knob = findView<CAnimKnob>(0);
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->getFrameIndex(), 55);
}

TEST_F(Interaction, FineDragWheelAndDoubleClickEachMakeOneGesture)
{
    controller->setKnobMode(Steinberg::Vst::kLinearMode);
    CPoint p(kKnobCenterX, kKnobCenterY);
    // Fine adjustment: the zoom factor 1.5 slows the drag.
    frame->onMouseDown(p, kLButton | kShift);
    CPoint q(kKnobCenterX, kKnobCenterY - 30);
    frame->onMouseMoved(q, kLButton | kShift);
    frame->onMouseUp(q, kLButton | kShift);
    EXPECT_EQ(recorded(), "B0 P0=0.6 E0 ");
    controller->handler.records.clear();

    frame->onWheel(p, kMouseWheelAxisY, 1.f, 0);
    EXPECT_EQ(recorded(), "B0 P0=0.7 E0 ");
    controller->handler.records.clear();

    // Double click returns to the parameter's default.
    click(p, kLButton | kDoubleClick);
    EXPECT_EQ(recorded(), "B0 P0=0.5 E0 ");
}

TEST_F(Interaction, CircularKnobJumpsToThePointer)
{
    // The arc starts at the lower left (135 degrees) and runs 270 degrees clockwise; a press in
    // the gap below the knob goes to the nearer end.
    struct Case
    {
        double dx, dy;
        const char* records;
    } cases[] = {{15, 0, "B0 P0=0.833 E0 "},
                 {-15, 0, "B0 P0=0.167 E0 "},
                 {-3, 15, "B0 P0=0 E0 "},
                 {3, 15, "B0 P0=1 E0 "}};
    for (const auto& c : cases)
    {
        controller->handler.records.clear();
        click(CPoint(kKnobCenterX + c.dx, kKnobCenterY + c.dy));
        EXPECT_EQ(recorded(), c.records) << c.dx << "," << c.dy;
    }
}

TEST_F(Interaction, SwitchClicksToggleTheParameter)
{
    CPoint p(kSwitchCenterX, kSwitchCenterY);
    click(p);
    click(p);
    EXPECT_EQ(recorded(), "B8 P8=1 E8 B8 P8=0 E8 ");
    EXPECT_EQ(controller->getParamNormalized(8), 0.);
}

TEST_F(Interaction, OptionMenuListsTheParameterAndSelectsByPointerKeysAndWheel)
{
    auto* menu = findView<COptionMenu>(1);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->getNbEntries(), 11);
    EXPECT_EQ(menu->getEntry(4)->getTitle(), "L90");

    CPoint p(kMenuX, kMenuY);
    click(p);
    CView* popupList = frame->getModalView();
    ASSERT_NE(popupList, nullptr);
    const CRect r = popupList->getViewSize();
    const double row = (r.getHeight() - 2) / 11;
    CPoint third(r.left + 10, r.top + 1 + 3.5 * row);
    frame->onMouseMoved(third, 0);
    click(third);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(recorded(), "B1 P1=0.3 E1 ");
    EXPECT_EQ(menu->getCurrentIndex(), 3);
    controller->handler.records.clear();

    // Keys: two down from the current entry, then Enter.
    click(p);
    key(VKEY_DOWN);
    key(VKEY_DOWN);
    key(VKEY_RETURN);
    EXPECT_EQ(recorded(), "B1 P1=0.5 E1 ");
    controller->handler.records.clear();

    // Escape and a click outside close the list without an edit.
    click(p);
    key(VKEY_ESCAPE);
    click(p);
    CPoint outside(190, 140);
    click(outside);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(recorded(), "");

    // The wheel over the closed menu steps through the entries.
    frame->onWheel(p, kMouseWheelAxisY, -1.f, 0);
    EXPECT_EQ(recorded(), "B1 P1=0.6 E1 ");
}

TEST_F(Interaction, TypedTextEditsOnlyWhenTheParameterParsesIt)
{
    auto* edit = findView<CTextEdit>(0);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->getText(), "0.5000");
    CPoint p(kEditX, kEditY);
    struct Case
    {
        const char* typed;
        unsigned char end;
        const char* records;
        double parameter;
    } cases[] = {
        {"abc", VKEY_RETURN, "", 0.5},  // not a number: nothing reaches the host
        {"0.25", VKEY_ESCAPE, "", 0.5}, // Escape cancels
        {"0.25", VKEY_RETURN, "B0 P0=0.25 E0 ", 0.25},
        {"7", VKEY_RETURN, "B0 P0=1 E0 ", 1.0}, // beyond the range: its end
    };
    for (const auto& c : cases)
    {
        controller->handler.records.clear();
        click(p);
        ASSERT_TRUE(edit->isEditingText());
        for (int i = 0; i < 10; ++i)
            key(VKEY_BACK);
        type(c.typed);
        key(c.end);
        EXPECT_FALSE(edit->isEditingText());
        EXPECT_EQ(recorded(), c.records) << c.typed;
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), c.parameter) << c.typed;
        // The field shows the parameter again, whatever was typed.
        char expected[32];
        std::snprintf(expected, sizeof(expected), "%.4f", c.parameter);
        EXPECT_EQ(edit->getText(), expected) << c.typed;
    }
    // A click elsewhere commits like Enter.
    controller->handler.records.clear();
    click(p);
    for (int i = 0; i < 10; ++i)
        key(VKEY_BACK);
    type("0.125");
    CPoint elsewhere(5, 5);
    click(elsewhere);
    EXPECT_EQ(recorded(), "B0 P0=0.125 E0 ");
}

TEST_F(Interaction, PadControllerWritesBothParametersAndFollowsThem)
{
    editor->close();
    editor->release();
    editor = controller->createEditor("pad.uidesc");
    ASSERT_TRUE(editor->open(nullptr, kDefaultNative));
    frame = editor->getFrame();
    controller->handler.records.clear();
    // The pad spans 10..110 in the frame: a drag to (35, 85) is x 0.25, y 0.75.
    CPoint p(60, 60);
    frame->onMouseDown(p, kLButton);
    CPoint q(35, 85);
    frame->onMouseMoved(q, kLButton);
    frame->onMouseUp(q, kLButton);
    EXPECT_EQ(recorded(), "B0 B5 P0=0.5 P5=0.5 P0=0.25 P5=0.75 E0 E5 ");
    controller->setParamNormalized(0, 0.1);
    controller->setParamNormalized(5, 0.2);
    std::vector<CXYPad*> pads;
    frame->getChildViewsOfType<CXYPad>(pads, true);
    ASSERT_EQ(pads.size(), 1u);
    float x, y;
    CXYPad::calculateXY(pads[0]->getValue(), x, y);
    EXPECT_NEAR(x, 0.1f, 1e-3);
    EXPECT_NEAR(y, 0.2f, 1e-3);
}

TEST_F(Interaction, HostChangesMoveTheControlsAndClosingUnbindsThem)
{
    controller->setParamNormalized(0, 0.75);
    controller->setParamNormalized(1, 0.4);
    controller->setParamNormalized(8, 1.0);
    EXPECT_FLOAT_EQ(findView<CAnimKnob>(0)->getValueNormalized(), 0.75f);
    EXPECT_EQ(findView<CTextEdit>(0)->getText(), "0.7500");
    EXPECT_EQ(findView<COptionMenu>(1)->getCurrentIndex(), 4);
    EXPECT_FLOAT_EQ(findView<COnOffButton>(8)->getValue(), 1.f);
    EXPECT_EQ(recorded(), "");

    for (double scale : {1.0, 2.0})
    {
        auto context = COffscreenContext::create(frame->getViewSize().getSize(), scale);
        frame->paint(context, true);
        context->writePNG(TestAssets::directory() + "/editor-x" + std::to_string(int(scale)) + ".png");
    }

    auto* update = Steinberg::UpdateHandler::instance();
    for (ParamID id : {0u, 1u, 8u})
        EXPECT_GT(update->countDependencies(controller->getParameterObject(id)), 0u);
    editor->close();
    EXPECT_EQ(controller->closed, 1);
    for (ParamID id : {0u, 1u, 8u})
        EXPECT_EQ(update->countDependencies(controller->getParameterObject(id)), 0u);
    controller->setParamNormalized(0, 0.25); // nothing bound any more: no crash
}

} // namespace
