// Reading descriptions: the test description builds the expected tree with its resources;
// broken descriptions give no view (and no editor) without crashing; custom views and
// sub-controllers are asked of the controller.

#include "TestAssets.h"
#include "TestController.h"

#include "vstgui/vstgui.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>

using namespace VSTGUI;

namespace {

std::vector<std::string>& logged()
{
    static std::vector<std::string> messages;
    return messages;
}

size_t loggedContaining(const std::string& text)
{
    size_t n = 0;
    for (const auto& m : logged())
        n += m.find(text) != std::string::npos;
    return n;
}

// A controller that builds "Fancy" custom views itself and hands out counting sub-controllers.
class StubController : public IController
{
public:
    struct Sub : DelegationController
    {
        Sub(IController* parent, int& aliveCount, std::vector<std::string>& verified)
            : DelegationController(parent)
            , alive(aliveCount)
            , verified(verified)
        {
            ++alive;
        }
        ~Sub() override { --alive; }
        CView* verifyView(CView* view, const UIAttributes& a, const IUIDescription* d) override
        {
            if (const std::string* c = a.getAttributeValue("class"))
                verified.push_back(*c);
            return DelegationController::verifyView(view, a, d);
        }
        int& alive;
        std::vector<std::string>& verified;
    };

    CView* createView(const UIAttributes& attributes, const IUIDescription*) override
    {
        const std::string* name = attributes.getAttributeValue("custom-view-name");
        customNames.push_back(name ? *name : "");
        return (name && *name == "Fancy") ? new CTextLabel(CRect(), "custom") : nullptr;
    }
    IController* createSubController(UTF8StringPtr name, const IUIDescription*) override
    {
        return std::string(name) == "Counting" ? new Sub(this, subsAlive, subVerified) : nullptr;
    }

    std::vector<std::string> customNames;
    int subsAlive{0};
    std::vector<std::string> subVerified;
};

class Description : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestAssets::prepare();
        logged().clear();
        setUIDebugSink([](const std::string& m) { logged().push_back(m); });
    }
    void TearDown() override { setUIDebugSink(nullptr); }
};

template <class T>
T* child(CView* parent, uint32_t index)
{
    auto container = dynamic_cast<CViewContainer*>(parent);
    return container ? dynamic_cast<T*>(container->getView(index)) : nullptr;
}

TEST_F(Description, TestDescriptionBuildsTheExpectedTree)
{
    auto desc = makeOwned<UIDescription>(CResourceDescription(TestAssets::directory() + "/test.uidesc"));
    ASSERT_TRUE(desc->parse());
    StubController controller;
    CView* root = desc->createView("Editor", &controller);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getViewSize(), CRect(0, 0, 200, 150));
    EXPECT_EQ(dynamic_cast<CViewContainer*>(root)->getBackgroundColor(), kGreyCColor);

    // The panel comes from its template with the view's own colour on top.
    auto* panel = child<CViewContainer>(root, 0);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getViewSize(), CRect(10, 10, 190, 140));
    EXPECT_EQ(panel->getBackgroundColor(), CColor(0x20, 0x30, 0x40, 0xff));
    ASSERT_NE(dynamic_cast<CNinePartTiledBitmap*>(panel->getBackground()), nullptr);
    EXPECT_TRUE(panel->getBackground()->isLoaded());
    // Knob group, switch group, menu, text edit, the knob without image; the unknown class is left out.
    ASSERT_EQ(panel->getNbViews(), 5u);

    auto* group = child<CViewContainer>(panel, 0);
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->getTransparency());
    auto* caption = child<CTextLabel>(group, 0);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->getText(), "Master Vol");
    EXPECT_EQ(caption->getFont()->getName(), "Verdana");
    EXPECT_EQ(caption->getFont()->getSize(), 14);
    EXPECT_EQ(caption->getFont()->getStyle(), kBoldFace | kItalicFace);
    auto* knob = child<CAnimKnob>(group, 1);
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->getViewSize(), CRect(9, 20, 51, 62));
    EXPECT_EQ(knob->getTag(), 0);
    EXPECT_EQ(knob->getNumSubPixmaps(), 80);
    EXPECT_EQ(knob->getHeightOfOneImage(), 42);
    EXPECT_NEAR(knob->getStartAngle(), 3 * M_PI / 4, 1e-6);
    EXPECT_NEAR(knob->getRangeAngle(), 3 * M_PI / 2, 1e-6);
    EXPECT_FLOAT_EQ(knob->getZoomFactor(), 1.5f);
    EXPECT_TRUE(knob->getBackground()->isLoaded());

    auto* toggle = child<COnOffButton>(child<CViewContainer>(panel, 1), 0);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->getTag(), 8);
    auto* menu = child<COptionMenu>(panel, 2);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getTag(), 1);
    EXPECT_EQ(menu->getStyle(), kRoundRectStyle | kNoFrame);
    EXPECT_EQ(menu->getFontColor(), kWhiteCColor);
    EXPECT_EQ(menu->getFont()->getSize(), 10);
    EXPECT_NE(child<CTextEdit>(panel, 3), nullptr);

    // The label of the root template sticks out to the left of the frame.
    auto* s = child<CTextLabel>(root, 1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->getViewSize(), CRect(-15, 130, 85, 146));

    // Lookups
    EXPECT_EQ(desc->getTagForName("Decay"), 8);
    EXPECT_EQ(desc->getTagForName("Nothing"), -1);
    CColor c;
    EXPECT_TRUE(desc->getColor("~ RedCColor", c));
    EXPECT_EQ(c, kRedCColor);
    EXPECT_FALSE(desc->getColor("nothing", c));
    EXPECT_EQ(desc->getFont("~ NormalFont")->getSize(), 12);
    EXPECT_EQ(desc->getBitmap("not listed"), nullptr);
    EXPECT_TRUE(controller.customNames.empty()); // empty custom-view-name asks nothing
    root->forget();
}

TEST_F(Description, MissingBitmapAndUnknownClassAreReportedOnceAndSkipped)
{
    auto desc = makeOwned<UIDescription>(CResourceDescription(TestAssets::directory() + "/test.uidesc"));
    ASSERT_TRUE(desc->parse());
    for (int i = 0; i < 3; ++i)
    {
        CView* root = desc->createView("Editor", nullptr);
        ASSERT_NE(root, nullptr);
        // The knob whose file is missing exists, draws nothing and does not crash.
        auto* knob = child<CAnimKnob>(child<CViewContainer>(root, 0), 4);
        ASSERT_NE(knob, nullptr);
        ASSERT_NE(knob->getBackground(), nullptr);
        EXPECT_FALSE(knob->getBackground()->isLoaded());
        auto context = COffscreenContext::create(CPoint(200, 150), 1);
        root->drawRect(context, root->getViewSize());
        root->forget();
    }
    EXPECT_EQ(loggedContaining("CGadgetNobodyKnows"), 1u);
    EXPECT_EQ(loggedContaining("does-not-exist.png"), 1u);
    EXPECT_EQ(loggedContaining("'title' unknown to COptionMenu"), 1u);
}

TEST_F(Description, BitmapsAreReadOnlyFromRegularFiles)
{
    // A pipe nobody writes to would block the reader for ever; a folder or a device is no image.
    const std::string fifo = TestAssets::directory() + "/bitmap-fifo-" + std::to_string(getpid()) + ".png";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, TestAssets::directory(), std::string("/dev/zero")})
    {
        SCOPED_TRACE(path);
        auto desc = makeOwned<UIDescription>(CResourceDescription());
        ASSERT_TRUE(desc->parseText("<vstgui-ui-description><bitmaps><bitmap name=\"b\" path=\"" + path
                                    + "\"/></bitmaps></vstgui-ui-description>"));
        CBitmap* bitmap = desc->getBitmap("b");
        ASSERT_NE(bitmap, nullptr);
        EXPECT_FALSE(bitmap->isLoaded());
    }
    std::remove(fifo.c_str());
}

TEST_F(Description, GeometryBeyondAnyScreenIsHeldInRange)
{
    struct Case
    {
        const char* size;   // of the editor's template
        const char* origin; // of its one child, whose size "nan, 7" is no size
        CRect editor;       // the frame and the editor's window
        CRect child;
    };
    const Case cases[] = {
        {"1e300, 200", "-1e300, 5", {0, 0, 16384, 200}, {-16384, 5, -16384, 5}},
        {"300, -1e300", "inf, 5", {0, 0, 300, 0}, {0, 0, 0, 0}},
        {"1e999, 40", "20, 30", {0, 0, 0, 0}, {20, 30, 20, 30}}, // beyond a double: not a size
    };
    auto* controller = new TestController();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.size);
        auto desc = makeOwned<UIDescription>(CResourceDescription());
        ASSERT_TRUE(desc->parseText(std::string("<vstgui-ui-description><template name=\"Editor\" "
                                                "class=\"CViewContainer\" size=\"")
                                    + c.size + "\"><view class=\"CView\" origin=\"" + c.origin
                                    + "\" size=\"nan, 7\"/></template></vstgui-ui-description>"));
        auto* editor = new VST3Editor(desc, controller, "Editor", nullptr);
        Steinberg::ViewRect window;
        editor->getSize(&window);
        EXPECT_EQ(CRect(window.left, window.top, window.right, window.bottom), c.editor);
        ASSERT_TRUE(editor->open(nullptr, kDefaultNative));
        CRect frame;
        editor->getFrame()->getSize(frame);
        EXPECT_EQ(frame, c.editor);
        auto* root = dynamic_cast<CViewContainer*>(editor->getFrame()->getView(0));
        ASSERT_NE(root, nullptr);
        ASSERT_EQ(root->getNbViews(), 1u);
        EXPECT_EQ(root->getView(0)->getViewSize(), c.child);
        editor->close();
        editor->release();
    }
    controller->release();
}

TEST_F(Description, BrokenDescriptionsGiveNoViewAndNoEditor)
{
    std::string deep = "<vstgui-ui-description>";
    for (int i = 0; i < 2000; ++i)
        deep += "<a>";
    const std::string cases[] = {
        "",
        "not xml at all",
        "<vstgui-ui-description><template name=\"Editor\" class=\"CViewContainer\" size=\"10, 10\">",
        "<vstgui-ui-description><template name=\"Editor\"></view></vstgui-ui-description>",
        "<other-root><template name=\"Editor\" class=\"CViewContainer\" size=\"10, 10\"/></other-root>",
        deep,
    };
    for (const auto& text : cases)
    {
        auto desc = makeOwned<UIDescription>(CResourceDescription("/nonexistent/broken.uidesc"));
        EXPECT_FALSE(desc->parseText(text)) << text.substr(0, 60);
        EXPECT_EQ(desc->createView("Editor", nullptr), nullptr);
    }
    // A template that names a missing template, or no template at all: no view.
    auto desc = makeOwned<UIDescription>(CResourceDescription());
    ASSERT_TRUE(
        desc->parseText("<vstgui-ui-description><template name=\"Editor\" class=\"CViewContainer\" "
                        "size=\"10, 10\"><view template=\"Gone\"/></template></vstgui-ui-description>"));
    CView* view = desc->createView("Editor", nullptr);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(dynamic_cast<CViewContainer*>(view)->getNbViews(), 0u);
    view->forget();
    EXPECT_EQ(desc->createView("Missing", nullptr), nullptr);

    // The editor of a missing or broken file does not open.
    auto* controller = new TestController();
    for (const char* file : {"/nonexistent/none.uidesc", "broken.uidesc"})
    {
        std::ofstream(TestAssets::directory() + "/broken.uidesc") << "<vstgui-ui-description><template";
        const std::string path = file[0] == '/' ? std::string(file) : TestAssets::directory() + "/" + file;
        auto* editor = new VST3Editor(controller, "Editor", path.c_str());
        EXPECT_FALSE(editor->open(nullptr, kDefaultNative)) << file;
        EXPECT_EQ(editor->getFrame(), nullptr);
        EXPECT_EQ(controller->opened, 0);
        editor->release();
    }
    controller->release();
}

// Views in a tree, the root included.
size_t countViews(CView* view)
{
    size_t n = 1;
    if (auto container = dynamic_cast<CViewContainer*>(view))
        for (uint32_t i = 0; i < container->getNbViews(); ++i)
            n += countViews(container->getView(i));
    return n;
}

TEST_F(Description, TemplatesThatUseThemselvesOrMultiplyAreCutShort)
{
    // Template "T<k>" holds ten views of template "T<k+1>"; the last one is a plain view.
    std::string layered = "<vstgui-ui-description>";
    for (int k = 0; k < 8; ++k)
    {
        layered += "<template name=\"T" + std::to_string(k) + "\" class=\"CViewContainer\" size=\"10, 10\">";
        for (int i = 0; i < 10; ++i)
            layered += "<view template=\"T" + std::to_string(k + 1) + "\"/>";
        layered += "</template>";
    }
    layered += "<template name=\"T8\" class=\"CView\" size=\"1, 1\"/></vstgui-ui-description>";
    struct Case
    {
        const char* what;
        std::string text;
        size_t views; // built from "T0", the root included
        const char* log;
    };
    const Case cases[] = {
        {"template using itself",
         R"(<vstgui-ui-description><template name="T0" class="CViewContainer" size="10, 10">
              <view class="CView"/><view template="T0"/></template></vstgui-ui-description>)",
         2, "'T0' uses itself"},
        {"two templates using each other",
         R"(<vstgui-ui-description>
              <template name="T0" class="CViewContainer" size="10, 10"><view template="T1"/></template>
              <template name="T1" class="CViewContainer" size="10, 10"><view template="T0"/></template>
            </vstgui-ui-description>)",
         2, "'T0' uses itself"},
        {"a template used twice side by side",
         R"(<vstgui-ui-description>
              <template name="T0" class="CViewContainer" size="10, 10"><view template="T1"/><view template="T1"/></template>
              <template name="T1" class="CViewContainer" size="10, 10"><view class="CView"/></template>
            </vstgui-ui-description>)",
         5, nullptr},
        // A hundred million views if expanded: the tree stops at its limit.
        {"templates multiplying", layered, 20000, "larger than an editor can have"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        logged().clear();
        auto desc = makeOwned<UIDescription>(CResourceDescription());
        ASSERT_TRUE(desc->parseText(c.text));
        CView* root = desc->createView("T0", nullptr);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(countViews(root), c.views);
        if (c.log)
        {
            EXPECT_GE(loggedContaining(c.log), 1u);
        }
        root->forget();
    }
}

TEST_F(Description, CustomViewsAndSubControllersAreAskedOfTheController)
{
    auto desc = makeOwned<UIDescription>(CResourceDescription());
    ASSERT_TRUE(desc->parseText(R"(<vstgui-ui-description version="1">
  <template name="Editor" class="CViewContainer" size="100, 100">
    <view class="CTextLabel" custom-view-name="Fancy" origin="5, 6" size="30, 10" font-color="~ RedCColor"/>
    <view class="CTextLabel" custom-view-name="Plain" origin="5, 20" size="30, 10" title="plain"/>
    <view class="CViewContainer" sub-controller="Counting" origin="0, 40" size="100, 60">
      <view class="CXYPad" origin="0, 0" size="50, 50"/>
    </view>
  </template>
</vstgui-ui-description>)"));
    StubController controller;
    CView* root = desc->createView("Editor", &controller);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(controller.customNames, (std::vector<std::string>{"Fancy", "Plain"}));
    // The custom view gets the attributes of the element's class.
    auto* fancy = child<CTextLabel>(root, 0);
    ASSERT_NE(fancy, nullptr);
    EXPECT_EQ(fancy->getText(), "custom");
    EXPECT_EQ(fancy->getViewSize(), CRect(5, 6, 35, 16));
    EXPECT_EQ(fancy->getFontColor(), kRedCColor);
    EXPECT_EQ(child<CTextLabel>(root, 1)->getText(), "plain");
    // The sub-controller checks the views below it and lives as long as its view.
    EXPECT_EQ(controller.subVerified, (std::vector<std::string>{"CXYPad", "CViewContainer"}));
    EXPECT_EQ(controller.subsAlive, 1);
    root->forget();
    EXPECT_EQ(controller.subsAlive, 0);
}

} // namespace
