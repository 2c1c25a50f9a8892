// Named views and sub-controllers of a description, built through the editor and its delegate.
#include "FrameworkDsp.h"

#include "editor/controls/CKickButtonKa.h"
#include "editor/controls/CPadControllerKa.h"
#include "editor/controls/CTextEditKa.h"
#include "editor/controls/CTextLabelKa.h"
#include "editor/controls/CVuMeterKa.h"
#include "editor/controls/CXYPadKa.h"
#include "editor/CustomViewFactory.h"

#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/uidescription.h"

#include <typeinfo>

using namespace FrameworkTest;
using namespace VSTGUI;

namespace {

const char* const kResources = R"(
  <bitmaps/>
  <colors>
    <color name="red" rgba="#ff0000ff"/>
    <color name="green" rgba="#00ff00ff"/>
  </colors>
  <control-tags>
    <control-tag name="Gain" tag="0"/>
    <control-tag name="Level" tag="1"/>
    <control-tag name="Freq" tag="2"/>
    <control-tag name="Nothing" tag="40"/>
  </control-tags>)";

std::string description(const std::string& views)
{
    return std::string("<vstgui-ui-description version=\"1\">") + kResources
           + "<template name=\"Editor\" class=\"CViewContainer\" size=\"400, 400\">" + views
           + "</template></vstgui-ui-description>";
}

// The Processor with its editor, and a description built through that editor.
class Factory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dsp = new FrameworkDsp;
        holder = std::make_unique<ProcessorHolder>(dsp);
        ASSERT_EQ((*holder)->initialize(nullptr), kResultOk);
        view = (*holder)->createView("editor");
        editor = dynamic_cast<VST3EditorKa*>(view);
        ASSERT_NE(editor, nullptr);
    }
    void TearDown() override
    {
        if (root)
            root->forget();
        desc = nullptr;
        if (view)
            view->release();
        holder.reset();
    }
    CViewContainer* build(const std::string& views)
    {
        desc = makeOwned<UIDescription>(CResourceDescription());
        EXPECT_TRUE(desc->parseText(description(views)));
        desc->setController(editor);
        if (root)
            root->forget();
        root = dynamic_cast<CViewContainer*>(desc->createView("Editor", editor));
        EXPECT_NE(root, nullptr);
        return root;
    }
    template <typename T>
    T* at(uint32_t i) const
    {
        return root && i < root->getNbViews() ? dynamic_cast<T*>(root->getView(i)) : nullptr;
    }

    FrameworkDsp* dsp = nullptr;
    std::unique_ptr<ProcessorHolder> holder;
    IPlugView* view = nullptr;
    VST3EditorKa* editor = nullptr;
    SharedPointer<UIDescription> desc;
    CViewContainer* root = nullptr;
};

const char* const kEveryName = R"(
  <view class="CKickButton" custom-view-name="TovuKickButton" origin="0, 0" size="10, 10" bitmap="kick" control-tag="Gain"/>
  <view class="CKickButton" custom-view-name="TovuKickButtonDU" origin="0, 0" size="10, 10" bitmap="kick"/>
  <view class="CKickButton" custom-view-name="TovuKickButtonU" origin="0, 0" size="10, 10" bitmap="kick"/>
  <view class="CKickButton" custom-view-name="TovuKickButtonD" origin="0, 0" size="10, 10" bitmap="kick"/>
  <view class="CXYPad" custom-view-name="TrackPad" origin="0, 0" size="50, 50" style-round-rect="true" style-no-frame="true" round-rect-radius="8" frame-width="2" back-color="red" font-color="green"/>
  <view class="CXYPad" custom-view-name="Joystick" origin="0, 0" size="50, 50" style-round-rect="True"/>
  <view class="CTextEdit" custom-view-name="UnitsEdit" origin="0, 0" size="40, 12" control-tag="Freq" title="440"/>
  <view class="CTextLabel" custom-view-name="UnitsLabel" origin="0, 0" size="40, 12" control-tag="Freq" title="440"/>
  <view class="CVuMeter" custom-view-name="AnalogMeterView_H65_Z52" origin="0, 0" size="60, 65" bitmap="needle" off-bitmap="needle" num-led="80" control-tag="Level"/>
  <view class="CVuMeter" custom-view-name="InvertedAnalogMeterView_H78_Z52" origin="0, 0" size="60, 78" bitmap="needle" off-bitmap="needle" num-led="80"/>
  <view class="CVuMeter" custom-view-name="MeterView" origin="0, 0" size="10, 40" bitmap="on" off-bitmap="off" num-led="10" control-tag="Level"/>
  <view class="CVuMeter" custom-view-name="InvertedMeterView" origin="0, 0" size="10, 40" bitmap="on" off-bitmap="off" num-led="10"/>
  <view class="CViewContainer" sub-controller="VectorJoystick" origin="0, 0" size="50, 50">
    <view class="CXYPad" custom-view-name="Joystick" origin="0, 0" size="50, 50"/>
  </view>
  <view class="CViewContainer" sub-controller="Joystick_X0_Y2" origin="0, 0" size="50, 50"/>
  <view class="CViewContainer" sub-controller="TrackPad_X2_Y0" origin="0, 0" size="50, 50"/>
)";

TEST_F(Factory, EveryRecognisedNameBuildsItsControl)
{
    build(kEveryName);
    ASSERT_EQ(root->getNbViews(), 15u);
    struct Row
    {
        uint32_t index;
        const std::type_info& type;
        int32_t kickMode;  // -1 when not a kick button
        int32_t styleBits; // round-rect and no-frame bits of a pad, -1 otherwise
        bool joystick;
        bool inverted;
        bool analog;
        double frameHeight; // meters
        double zeroFrame;
    };
    const Row rows[] = {
        {0, typeid(CKickButtonKa), 1, -1, false, false, false, 0, 0},
        {1, typeid(CKickButtonKa), 0, -1, false, false, false, 0, 0},
        {2, typeid(CKickButtonKa), 1, -1, false, false, false, 0, 0},
        {3, typeid(CKickButtonKa), 2, -1, false, false, false, 0, 0},
        {4, typeid(CXYPadKa), -1, kRoundRectStyle | kNoFrame, false, false, false, 0, 0},
        {5, typeid(CXYPadKa), -1, 0, true, false, false, 0, 0},
        {6, typeid(CTextEditKa), -1, -1, false, false, false, 0, 0},
        {7, typeid(CTextLabelKa), -1, -1, false, false, false, 0, 0},
        {8, typeid(CVuMeterKa), -1, -1, false, false, true, 65, 52},
        {9, typeid(CVuMeterKa), -1, -1, false, true, true, 78, 52},
        {10, typeid(CVuMeterKa), -1, -1, false, false, false, 65, 52},
        {11, typeid(CVuMeterKa), -1, -1, false, true, false, 65, 52},
    };
    for (const Row& r : rows)
    {
        SCOPED_TRACE(r.index);
        CView* v = root->getView(r.index);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(typeid(*v), r.type);
        if (auto* kick = dynamic_cast<CKickButtonKa*>(v))
        {
            EXPECT_EQ(kick->getKickMode(), r.kickMode);
        }
        if (auto* pad = dynamic_cast<CXYPadKa*>(v))
        {
            EXPECT_EQ(pad->getStyle() & (kRoundRectStyle | kNoFrame), r.styleBits);
            EXPECT_EQ(pad->isJoystick(), r.joystick);
        }
        if (auto* meter = dynamic_cast<CVuMeterKa*>(v))
        {
            EXPECT_EQ(meter->isInverted(), r.inverted);
            EXPECT_EQ(meter->isAnalog(), r.analog);
            EXPECT_EQ(meter->getFrameHeight(), r.frameHeight);
            EXPECT_EQ(meter->getZeroFrame(), r.zeroFrame);
            EXPECT_EQ(meter->getNbLed(), r.analog ? 80 : 10);
        }
    }
    // Pad settings, units, the kick button's binding and a meter's detector from its record.
    auto* pad = at<CXYPadKa>(4);
    EXPECT_EQ(pad->getBackColor(), CColor(255, 0, 0));
    EXPECT_EQ(pad->getFrameColor(), CColor(255, 255, 255)); // no such attribute: white
    EXPECT_EQ(pad->getFontColor(), CColor(0, 255, 0));
    EXPECT_EQ(pad->getRoundRectRadius(), 8);
    EXPECT_EQ(pad->getFrameWidth(), 2);
    EXPECT_EQ(at<CTextEditKa>(6)->getUnits(), "Hz");
    EXPECT_EQ(at<CTextLabelKa>(7)->getUnits(), "Hz");
    EXPECT_EQ(at<CTextLabelKa>(7)->getText(), "440 Hz");
    EXPECT_EQ(at<CKickButtonKa>(0)->getTag(), 0);
    const CMeterDetector& detector = at<CVuMeterKa>(8)->getDetector();
    EXPECT_EQ(detector.m_fRate, 20.0f);
    EXPECT_EQ(detector.m_fAttackMs, 20.0f);
    EXPECT_EQ(detector.m_fReleaseMs, 400.0f);
    EXPECT_TRUE(detector.m_bAnalogTimeConstant);
    EXPECT_TRUE(detector.m_bDecibels);
    EXPECT_EQ(detector.m_nMode, 0);
    EXPECT_EQ(at<CVuMeterKa>(10)->getDetector().m_fAttackMs, 20.0f);
    EXPECT_EQ(at<CVuMeterKa>(11)->getDetector().m_fRate, 44100.0f); // no tag: defaults

    // Sub-controllers: the stock pad controller for the vector joystick, ours for the others.
    IController* vector = root->getView(12)->getOwnedController();
    ASSERT_NE(vector, nullptr);
    EXPECT_EQ(typeid(*vector), typeid(PadController));
    EXPECT_NE(static_cast<PadController*>(vector)->getPadControl(), nullptr);
    for (uint32_t i : {13u, 14u})
    {
        IController* c = root->getView(i)->getOwnedController();
        ASSERT_NE(c, nullptr) << i;
        EXPECT_EQ(typeid(*c), typeid(CPadControllerKa));
    }
    EXPECT_TRUE(dsp->requests.empty()); // nothing went to the DSP object
}

TEST_F(Factory, NamesAndAttributesAtTheirEdges)
{
    struct Case
    {
        const char* what;
        std::string element;
        bool toDsp; // handed to the DSP object (code 3)
        CRect rect; // of the built view, when built
        double frameHeight = 65, zeroFrame = 52;
    };
    const std::string meter =
        R"( bitmap="needle" off-bitmap="needle" num-led="80" size="60, 65" origin="0, 0")";
    const Case cases[] = {
        {"lower-case name", R"(custom-view-name="tovukickbutton")", true, {}},
        {"origin with blank before comma",
         R"(custom-view-name="TovuKickButton" origin="15 ,15" size="10, 10")",
         false,
         {15, 15, 25, 25}},
        {"origin without comma",
         R"(custom-view-name="TovuKickButton" origin="15" size="10, 10")",
         false,
         {0, 0, 10, 10}},
        {"no rectangle", R"(custom-view-name="TovuKickButton")", false, {0, 0, 0, 0}},
        {"negative size",
         R"(custom-view-name="TovuKickButton" origin="5, 5" size="-10, -3")",
         false,
         {5, 5, 5, 5}},
        {"overflowing numbers",
         R"(custom-view-name="TovuKickButton" origin="99999999999, 3" size="10, 10")",
         false,
         {0, 3, 10, 13}},
        {"huge size",
         R"(custom-view-name="TovuKickButton" origin="0, 0" size="2000000000, 10")",
         false,
         {0, 0, 16384, 10}},
        {"prefixed needle meter",
         R"(custom-view-name="BigAnalogMeterView_H70_Z40")" + meter,
         false,
         {0, 0, 60, 65},
         70,
         40},
        {"prefixed LED meter", R"(custom-view-name="BigMeterView")" + meter, true, {}},
        {"_Z before _H",
         R"(custom-view-name="AnalogMeterView_Z52_H70")" + meter,
         false,
         {0, 0, 60, 65},
         65,
         52},
        {"needle name without numbers",
         R"(custom-view-name="AnalogMeterView")" + meter,
         false,
         {0, 0, 60, 65},
         65,
         52},
        {"absurd frame numbers",
         R"(custom-view-name="AnalogMeterView_H-5_Z1e999")" + meter,
         false,
         {0, 0, 60, 65},
         65,
         52},
        {"meter without off-bitmap",
         R"(custom-view-name="MeterView" bitmap="on" num-led="8" size="1, 1" origin="0, 0")",
         true,
         {}},
        {"meter with no LEDs",
         R"(custom-view-name="MeterView" bitmap="on" off-bitmap="off" num-led="0" size="1, 1" origin="0, 0")",
         true,
         {}},
        {"meter with negative LEDs",
         R"(custom-view-name="MeterView" bitmap="on" off-bitmap="off" num-led="-4" size="1, 1" origin="0, 0")",
         true,
         {}},
        {"meter with a billion LEDs",
         R"(custom-view-name="MeterView" bitmap="on" off-bitmap="off" num-led="1000000000" size="1, 1" origin="0, 0")",
         true,
         {}},
    };
    // Each element is read by the factory alone: the toolkit's own attribute pass, which
    // follows when a description is built, would place the view again by its own rules.
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        dsp->requests.clear();
        auto caseDesc = makeOwned<UIDescription>(CResourceDescription());
        ASSERT_TRUE(caseDesc->parseText(std::string("<vstgui-ui-description version=\"1\">") + kResources
                                        + "<template name=\"Case\" class=\"CView\" " + c.element
                                        + "/></vstgui-ui-description>"));
        const UIAttributes* attributes = caseDesc->getViewAttributes("Case");
        ASSERT_NE(attributes, nullptr);
        CUiMessage record;
        SharedPointer<CView> v(createFrameworkView(*dsp, record,
                                                   attributes->getAttributeValue("custom-view-name")->c_str(),
                                                   *attributes, caseDesc),
                               false);
        EXPECT_EQ(dsp->requests.size(), c.toDsp ? 1u : 0u);
        if (c.toDsp)
        {
            EXPECT_EQ(v.get(), nullptr);
            continue;
        }
        ASSERT_NE(v.get(), nullptr);
        EXPECT_EQ(v->getViewSize(), c.rect);
        if (auto* m = dynamic_cast<CVuMeterKa*>(v.get()))
        {
            EXPECT_EQ(m->getFrameHeight(), c.frameHeight);
            EXPECT_EQ(m->getZeroFrame(), c.zeroFrame);
        }
    }
}

TEST_F(Factory, UnitsViewWithoutControlRecordIsLeftToTheClass)
{
    build(R"(<view class="CTextLabel" custom-view-name="UnitsLabel" control-tag="Nothing" title="x"/>
             <view class="CTextLabel" custom-view-name="UnitsLabel" title="y"/>)");
    ASSERT_EQ(root->getNbViews(), 2u);
    for (uint32_t i = 0; i < 2; ++i)
    {
        CView* v = root->getView(i);
        EXPECT_EQ(typeid(*v), typeid(CTextLabel)) << i;
    }
}

TEST_F(Factory, OtherNamesGoToTheDspObjectWithEveryField)
{
    dsp->buildsViews = true;
    build(R"(<view class="CView" custom-view-name="Scope" control-tag="Gain" origin="3, 4" size="30, 20"
               background-offset="7, 8" bitmap="face" handle-bitmap="knob" off-bitmap="dark"
               orientation="vertical" back-color="red" font-color="green" frame-width="3"
               round-rect-radius="5" height-of-one-image="12" sub-pixmaps="6" style-round-rect="true"
               style-no-frame="nope"/>
             <view class="CView" custom-view-name="Bare"/>
             <view class="CView" custom-view-name="Dim" off-bitmap="dark" frame-color="nosuch"/>)");
    ASSERT_EQ(dsp->requests.size(), 3u);
    const ViewRequest& r = dsp->requests[0];
    EXPECT_EQ(r.viewName, "Scope");
    EXPECT_EQ(r.extraText, "");
    EXPECT_EQ(r.controlTag, 0);
    EXPECT_TRUE(r.hasListener);
    EXPECT_EQ((std::vector<int32_t>{r.left, r.top, r.right, r.bottom}), (std::vector<int32_t>{3, 4, 33, 24}));
    EXPECT_EQ(r.offsetX, 7);
    EXPECT_EQ(r.offsetY, 8);
    EXPECT_EQ(r.bitmapFile, "face.png");
    EXPECT_EQ(r.handleBitmapFile, "knob.png");
    EXPECT_EQ(r.offBitmapFile, ""); // a handle bitmap leaves the off bitmap empty
    EXPECT_EQ(r.orientation, "vertical");
    ASSERT_TRUE(r.backColor && r.fontColor);
    EXPECT_EQ(*r.backColor, CColor(255, 0, 0));
    EXPECT_EQ(*r.fontColor, CColor(0, 255, 0));
    EXPECT_FALSE(r.frameColor);
    EXPECT_EQ(r.frameWidth, 3);
    EXPECT_EQ(r.roundRectRadius, 5);
    EXPECT_EQ(r.heightOfOneImage, 12);
    EXPECT_EQ(r.subPixmaps, 6);
    EXPECT_TRUE(r.styleRoundRect);
    EXPECT_FALSE(r.styleNoFrame);
    EXPECT_FALSE(r.answer);

    const ViewRequest& bare = dsp->requests[1];
    EXPECT_EQ(bare.bitmapFile, "");
    EXPECT_EQ(bare.offBitmapFile, "");
    EXPECT_EQ(bare.orientation, "");
    EXPECT_FALSE(bare.hasListener);
    EXPECT_FALSE(bare.backColor);
    const ViewRequest& dim = dsp->requests[2];
    EXPECT_EQ(dim.offBitmapFile, "dark.png");
    ASSERT_TRUE(dim.frameColor);
    EXPECT_EQ(*dim.frameColor, CColor(255, 255, 255)); // unknown colour name: white

    // The DSP object's views are placed; the kept record points at none of the texts.
    ASSERT_EQ(root->getNbViews(), 3u);
    EXPECT_EQ(root->getView(0)->getViewSize(), CRect(3, 4, 33, 24));
    (*holder)->receiveText("VSTGUITimerPing");
    const CUiMessage& kept = dsp->uiMessages.back();
    EXPECT_EQ(kept.code, kUiTimerPing);
    EXPECT_EQ(kept.backColor, nullptr);
    EXPECT_EQ(kept.fontColor, nullptr);
    EXPECT_STREQ(kept.bitmapFile, "");
    EXPECT_STREQ(kept.viewName, "");
}

TEST_F(Factory, SubControllerNames)
{
    struct Case
    {
        const char* name;
        const std::type_info* type; // null: none
    };
    const Case cases[] = {
        {"VectorJoystick", &typeid(PadController)},
        {"VectorJoystickX", nullptr},
        {"Joystick_X2_Y3", &typeid(CPadControllerKa)},
        {"Joystick_Y3_X2", nullptr},
        {"TrackPad_X0_Y1", &typeid(CPadControllerKa)},
        {"TrackPad_X0", nullptr},
        {"Joystick_X99999999999_Y1", &typeid(CPadControllerKa)},
        {"Pad_X0_Y1", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        IController* made = (*holder)->createSubController(c.name, nullptr, editor);
        if (!c.type)
        {
            EXPECT_EQ(made, nullptr);
            continue;
        }
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(typeid(*made), *c.type);
        delete made;
    }
}

// The host's side of edits, in order: "begin 0", "perform 2", "end 0" ...
class GestureHandler : public TessalineHost::HostComponentHandler
{
public:
    std::vector<std::string> calls;
    tresult PLUGIN_API beginEdit(ParamID id) override
    {
        calls.push_back("begin " + std::to_string(id));
        return HostComponentHandler::beginEdit(id);
    }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue v) override
    {
        calls.push_back("perform " + std::to_string(id));
        return HostComponentHandler::performEdit(id, v);
    }
    tresult PLUGIN_API endEdit(ParamID id) override
    {
        calls.push_back("end " + std::to_string(id));
        return HostComponentHandler::endEdit(id);
    }
};

TEST_F(Factory, PadControllerWritesBothParametersInOneGesture)
{
    Steinberg::IPtr<GestureHandler> handler(new GestureHandler, false);
    holder->processor->setComponentHandler(handler);
    build(R"(<view class="CViewContainer" sub-controller="TrackPad_X0_Y2" origin="0, 0" size="110, 110">
               <view class="CXYPad" custom-view-name="TrackPad" origin="0, 0" size="110, 110" round-rect-radius="10"/>
             </view>)");
    auto* box = dynamic_cast<CViewContainer*>(root->getView(0));
    ASSERT_NE(box, nullptr);
    auto* pad = dynamic_cast<CXYPadKa*>(box->getView(0));
    ASSERT_NE(pad, nullptr);
    CPoint where(5, 5); // top left: x 0, y 1 upward
    pad->onMouseDown(where, CButtonState(kLButton));
    pad->onMouseUp(where, CButtonState(kLButton));
    EXPECT_DOUBLE_EQ((*holder)->getParamNormalized(0), 0.0);
    EXPECT_DOUBLE_EQ((*holder)->getParamNormalized(2), 1.0);
    EXPECT_EQ(handler->calls,
              (std::vector<std::string>{"begin 0", "begin 2", "perform 0", "perform 2", "end 0", "end 2"}));
}

} // namespace
