// The framework's controls under the mouse: kick button modes, the XY pad and joystick, and
// units text.
#include "editor/controls/CKickButtonKa.h"
#include "editor/controls/CTextEditKa.h"
#include "editor/controls/CTextLabelKa.h"
#include "editor/controls/CXYPadKa.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/controls/icontrollistener.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

// Every report a control makes, in order: "begin", "end" and the values.
struct Recorder : IControlListener
{
    std::vector<std::string> events;
    std::vector<float> values;
    void valueChanged(CControl* control) override
    {
        values.push_back(control->getValue());
        events.push_back("value");
    }
    void controlBeginEdit(CControl*) override { events.push_back("begin"); }
    void controlEndEdit(CControl*) override { events.push_back("end"); }
};

const CButtonState kLeft(kLButton);

TEST(KickButton, EachModeReportsPressReleaseOrBoth)
{
    struct Case
    {
        int32_t mode;
        bool releaseInside;
        std::vector<float> reports;
    };
    const Case cases[] = {
        {CKickButtonKa::kReportPressAndRelease, true, {1.0f, 0.0f}},
        {CKickButtonKa::kReportPressAndRelease, false, {1.0f, 0.0f}},
        {CKickButtonKa::kReportRelease, true, {0.0f}},
        {CKickButtonKa::kReportRelease, false, {0.0f}},
        {CKickButtonKa::kReportPress, true, {1.0f}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " inside " << c.releaseInside);
        Recorder listener;
        auto button = makeOwned<CKickButtonKa>(CRect(0, 0, 20, 20), &listener, 5, nullptr);
        button->setKickMode(c.mode);
        CPoint inside(10, 10), outside(50, 50);
        EXPECT_EQ(button->onMouseDown(inside, kLeft), kMouseEventHandled);
        button->onMouseMoved(inside, kLeft); // held
        CPoint release = c.releaseInside ? inside : outside;
        button->onMouseMoved(release, kLeft);
        EXPECT_EQ(button->onMouseUp(release, kLeft), kMouseEventHandled);
        EXPECT_EQ(listener.values, c.reports);
        EXPECT_EQ(listener.events.front(), "begin");
        EXPECT_EQ(listener.events.back(), "end");
        EXPECT_EQ(button->getValue(), 0.0f);
    }
    Recorder listener;
    auto button = makeOwned<CKickButtonKa>(CRect(0, 0, 20, 20), &listener, 5, nullptr);
    CPoint where(10, 10);
    EXPECT_EQ(button->onMouseDown(where, CButtonState(kRButton)), kMouseEventNotHandled);
    EXPECT_TRUE(listener.events.empty());
}

// A 110 by 110 pad with a 10-point handle: pad coordinates are (pointer - 5) / 100.
SharedPointer<CXYPadKa> makePad(bool joystick, Recorder& listener)
{
    auto pad = makeOwned<CXYPadKa>(CRect(0, 0, 110, 110));
    pad->setRoundRectRadius(10);
    pad->setJoystick(joystick);
    pad->setListener(&listener);
    return pad;
}

void decode(float v, float& x, float& y) { CXYPad::calculateXY(v, x, y); }

TEST(XYPad, TrackPadReportsYUpwardAndDrawsYDownward)
{
    Recorder listener;
    auto pad = makePad(false, listener);
    CPoint topLeft(0, 0);
    pad->onMouseDown(topLeft, kLeft);
    CPoint up(topLeft);
    pad->onMouseUp(up, kLeft);
    ASSERT_EQ(listener.values.size(), 1u);
    float x, y;
    decode(listener.values[0], x, y);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 1.0f); // the listener's y grows upward
    decode(pad->getValue(), x, y);
    EXPECT_FLOAT_EQ(y, 0.0f); // the pad's own y grows downward
    EXPECT_EQ(listener.events, (std::vector<std::string>{"begin", "value", "end"}));

    // The handle is drawn at the top left.
    pad->setFontColor(CColor(0, 255, 0));
    auto ctx = COffscreenContext::create(CPoint(110, 110));
    pad->draw(ctx);
    EXPECT_EQ(ctx->getPixel(5, 5), CColor(0, 255, 0));
    EXPECT_NE(ctx->getPixel(100, 100), CColor(0, 255, 0));

    // A parameter value puts y back downward: (0.25, 0.75 up) is drawn at y 0.25.
    pad->setValue(CXYPad::calculateValue(0.25f, 0.75f));
    decode(pad->getValue(), x, y);
    EXPECT_FLOAT_EQ(x, 0.25f);
    EXPECT_FLOAT_EQ(y, 0.25f);
}

TEST(XYPad, JoystickStaysInsideTheDiamond)
{
    Recorder listener;
    auto pad = makePad(true, listener);
    CPoint centre(55, 55);
    pad->onMouseDown(centre, kLeft);
    CPoint nearRight(95, 55); // (0.9, 0.5): inside
    pad->onMouseMoved(nearRight, kLeft);
    const size_t reports = listener.values.size();
    const float inside = pad->getValue();
    for (CPoint beyond : {CPoint(200, 55), CPoint(100, 15), CPoint(108, 60)})
    {
        pad->onMouseMoved(beyond, kLeft);
        EXPECT_EQ(pad->getValue(), inside);
    }
    // Outside, the listener hears nothing but the last point inside.
    for (size_t i = reports; i < listener.values.size(); ++i)
        EXPECT_EQ(listener.values[i], listener.values[reports - 1]);
    CPoint back(55, 30);
    pad->onMouseMoved(back, kLeft);
    EXPECT_NE(listener.values.back(), listener.values[reports - 1]);
    pad->onMouseUp(back, kLeft);
    EXPECT_EQ(listener.events.front(), "begin");
    EXPECT_EQ(listener.events.back(), "end");

    // The host's (0.1, 0.1 up) lies outside the diamond: the pad keeps its value.
    const float kept = pad->getValue();
    pad->setValue(CXYPad::calculateValue(0.1f, 0.1f));
    EXPECT_EQ(pad->getValue(), kept);
    pad->setValue(CXYPad::calculateValue(0.5f, 0.4f));
    float x, y;
    decode(pad->getValue(), x, y);
    EXPECT_FLOAT_EQ(x, 0.5f);
    EXPECT_FLOAT_EQ(y, 0.6f);
}

TEST(XYPad, OtherButtonsAreNotADrag)
{
    Recorder listener;
    auto pad = makePad(false, listener);
    CPoint where(50, 50);
    EXPECT_EQ(pad->onMouseDown(where, CButtonState(kLButton | kRButton)), kMouseEventNotHandled);
    EXPECT_TRUE(listener.events.empty());
}

TEST(XYPad, PointInPolygonIsEvenOdd)
{
    const float xs[4] = {0.0f, 0.5f, 1.0f, 0.5f};
    const float ys[4] = {0.5f, 0.0f, 0.5f, 1.0f};
    struct Case
    {
        float x, y;
        bool inside;
    };
    const Case cases[] = {{0.5f, 0.5f, true},  {0.1f, 0.5f, true},  {0.9f, 0.45f, true}, {0.1f, 0.1f, false},
                          {0.9f, 0.9f, false}, {1.2f, 0.5f, false}, {0.5f, -0.1f, false}};
    for (const Case& c : cases)
        EXPECT_EQ(CXYPadKa::pointInPolygon(4, xs, ys, c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(XYPad, JoystickDrawsItsDiamond)
{
    Recorder listener;
    auto pad = makePad(true, listener);
    pad->setBackColor(CColor(0, 0, 255));
    pad->setFrameColor(CColor(255, 255, 255));
    pad->setFontColor(CColor(0, 255, 0));
    pad->setValue(CXYPad::calculateValue(0.5f, 0.5f));
    auto ctx = COffscreenContext::create(CPoint(110, 110));
    pad->draw(ctx);
    EXPECT_EQ(ctx->getPixel(30, 60), CColor(0, 0, 255)); // inside the diamond
    EXPECT_EQ(ctx->getPixel(5, 5).alpha, 0);             // corner left untouched
    EXPECT_EQ(ctx->getPixel(55, 55), CColor(0, 255, 0)); // handle at the centre
    EXPECT_GT(ctx->getPixel(55, 20).red, 100);           // the vertical cross line
}

TEST(UnitsText, LabelAndEditShowTheirUnits)
{
    auto label = makeOwned<CTextLabelKa>(CRect(0, 0, 50, 10));
    label->setText("-6.00");
    EXPECT_EQ(label->getText(), "-6.00");
    label->setUnits("  dB ");
    EXPECT_EQ(label->getUnits(), "dB");
    label->setText("-6.00");
    EXPECT_EQ(label->getText(), "-6.00 dB");
    label->setUnits(" \t\n");
    EXPECT_EQ(label->getUnits(), "");

    auto edit = makeOwned<CTextEditKa>(CRect(0, 0, 50, 10), nullptr, 3);
    edit->setUnits("Hz");
    edit->setText("440");
    EXPECT_EQ(edit->getText(), "440 Hz");
    SharedPointer<CTextEditKa> copy(static_cast<CTextEditKa*>(edit->newCopy()), false);
    EXPECT_EQ(copy->getUnits(), "Hz");
}

} // namespace
