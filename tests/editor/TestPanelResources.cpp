// The bundle's editor resources as a host finds them: the description in Contents/Resources
// binds every control to the parameter of the same id and name, and every bitmap it names is
// there at the geometry its views expect, with a double-resolution twin.
#include "UiDescriptionTree.h"

#include "HostInstance.h"
#include "HostModule.h"
#include "HostStrings.h"
#include "factory/TessalineIds.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <set>

using namespace Steinberg;
using namespace Steinberg::Vst;
using EditorTest::UiElement;
using TessalineHost::toUtf8;

namespace {

std::string resourcePath(const std::string& file)
{
    return std::string(TESSALINE_BUNDLE_PATH) + "/Contents/Resources/" + file;
}

// The built bundle loaded the way a host loads it, and its description read as XML.
class PanelResources : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module.load(TESSALINE_BUNDLE_PATH)) << module.error();
        std::string error;
        description = EditorTest::readUiDescription(resourcePath("tovu.uidesc"), error);
        ASSERT_TRUE(description) << error;
    }

    // Declared control tags by name.
    std::map<std::string, int64_t> controlTags() const
    {
        std::map<std::string, int64_t> tags;
        for (const UiElement* section : description->childrenNamed("control-tags"))
            for (const UiElement* tag : section->childrenNamed("control-tag"))
                tags[*tag->attribute("name")] = std::stoll(*tag->attribute("tag"));
        return tags;
    }

    // Every "control-tag" a view of any template carries.
    std::vector<std::string> usedTags() const
    {
        std::vector<std::string> used;
        std::function<void(const UiElement&)> walk = [&](const UiElement& element) {
            if (const std::string* tag = element.attribute("control-tag"))
                used.push_back(*tag);
            for (const auto& child : element.children)
                walk(*child);
        };
        for (const UiElement* templ : description->childrenNamed("template"))
            walk(*templ);
        return used;
    }

    // One initialized instance of the module's class.
    void createInstance()
    {
        TUID cid;
        std::memcpy(cid, Tessaline::kProcessorCid, sizeof cid);
        ASSERT_TRUE(instance.create(module.factory(), cid));
        ASSERT_EQ(instance.initialize(), kResultOk);
    }

    TessalineHost::HostModule module;
    TessalineHost::HostInstance instance; // destroyed before the module unloads
    std::unique_ptr<UiElement> description;
};

} // namespace

TEST_F(PanelResources, SectionsInOrderWithTheExactFontNames)
{
    EXPECT_EQ(description->name, "vstgui-ui-description");
    EXPECT_EQ(*description->attribute("version"), "1");
    std::vector<std::string> order;
    for (const auto& child : description->children)
        order.push_back(child->name == "template" ? "template " + *child->attribute("name") : child->name);
    const std::vector<std::string> expected = {"fonts",
                                               "colors",
                                               "template Editor",
                                               "custom",
                                               "bitmaps",
                                               "control-tags",
                                               "template User ViewContainer 0",
                                               "template Tovu KnobGroup 0",
                                               "template Tovu KnobGroup 1",
                                               "template Tovu KnobGroup 2",
                                               "template Tovu KnobGroup 3",
                                               "template Tovu KnobGroup 4",
                                               "template Tovu KnobGroup 5",
                                               "template Tovu KnobGroup 6",
                                               "template Tovu 2-StateSwitchGroup 0",
                                               "template Tovu 2-StateSwitchGroup 1",
                                               "template Tovu 2-StateSwitchGroup 2"};
    EXPECT_EQ(order, expected);

    // Views refer to fonts by these names, blanks included.
    std::vector<std::string> fonts;
    for (const UiElement* font : description->childrenNamed("fonts").at(0)->childrenNamed("font"))
        fonts.push_back(*font->attribute("name"));
    EXPECT_EQ(fonts, (std::vector<std::string>{"Microsoft Sans Serif", "Verdana 10  ", "Verdana 14 bold ",
                                               "Verdana 10 bold ital", "Verdana 14 bold ital"}));
    EXPECT_TRUE(description->childrenNamed("colors").at(0)->children.empty());
}

TEST_F(PanelResources, EveryUsedTagNamesTheParameterWithItsId)
{
    createInstance();
    IEditController* controller = instance.getController();
    ASSERT_NE(controller, nullptr);
    const auto tags = controlTags();
    const auto used = usedTags();
    // Seven knobs, three switches and the menu.
    EXPECT_EQ(used.size(), 11u);
    EXPECT_EQ(std::set<std::string>(used.begin(), used.end()).size(), 11u);

    std::map<ParamID, std::string> titles;
    for (int32 i = 0; i < controller->getParameterCount(); ++i)
    {
        ParameterInfo info = {};
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        titles[info.id] = toUtf8(info.title, 128);
    }
    for (const std::string& name : used)
    {
        ASSERT_EQ(tags.count(name), 1u) << "undeclared tag " << name;
        const auto id = static_cast<ParamID>(tags.at(name));
        ASSERT_EQ(titles.count(id), 1u) << name << " has no parameter " << id;
        EXPECT_EQ(titles.at(id), name);
    }
}

TEST_F(PanelResources, AllFiftyFourTagsWithTheReservedRange)
{
    const auto tags = controlTags();
    EXPECT_EQ(tags.size(), 54u);
    const std::pair<const char*, int64_t> expected[] = {{"Gain", 0},
                                                        {"Position", 1},
                                                        {"Vol L-R", 2},
                                                        {"Abs L-R", 3},
                                                        {"Vol F-B", 4},
                                                        {"Abs F-B", 5},
                                                        {"Vol C-F", 6},
                                                        {"Abs C-F", 7},
                                                        {"Decay Type", 8},
                                                        {"Stereo/Mono", 9},
                                                        {"Left/Right", 10},
                                                        {"ASSIGNBUTTON_1", 32768},
                                                        {"ASSIGNBUTTON_2", 32769},
                                                        {"ASSIGNBUTTON_3", 32770},
                                                        {"ALPHA_WHEEL", 32771},
                                                        {"LCD_KNOB", 32772},
                                                        {"JOYSTICK_X", 32773},
                                                        {"JOYSTICK_Y", 32774},
                                                        {"JOYSTICK", 32775},
                                                        {"TRACKPAD", 32776},
                                                        {"LCD_TITLE", 32777},
                                                        {"LCD_COUNT", 32778}};
    for (const auto& [name, tag] : expected)
    {
        ASSERT_EQ(tags.count(name), 1u) << name;
        EXPECT_EQ(tags.at(name), tag) << name;
    }
    for (int i = 0; i < 32; ++i)
    {
        const std::string name = "TAB_CTRL_" + std::to_string(i);
        ASSERT_EQ(tags.count(name), 1u) << name;
        EXPECT_EQ(tags.at(name), 65536 + i) << name;
    }
    // The reserved tags that match parameters: the three buttons and the joystick axes.
    createInstance();
    IEditController* controller = instance.getController();
    for (const char* name :
         {"ASSIGNBUTTON_1", "ASSIGNBUTTON_2", "ASSIGNBUTTON_3", "JOYSTICK_X", "JOYSTICK_Y"})
    {
        ParameterInfo info = {};
        bool found = false;
        for (int32 i = 0; i < controller->getParameterCount() && !found; ++i)
            found = controller->getParameterInfo(i, info) == kResultOk
                    && info.id == static_cast<ParamID>(tags.at(name));
        EXPECT_TRUE(found) << name;
    }
}

TEST_F(PanelResources, BitmapsCarriedAtTheirGeometryAndDoubled)
{
    struct Expected
    {
        const char* name;
        int width, height;
    };
    const Expected bitmaps[] = {{"greymetal", 512, 512},
                                {"chickenhead3", 42, 3360},
                                {"chickenhead2", 42, 3360},
                                {"medtoggleswitch", 42, 84}};
    std::map<std::string, std::string> listed;
    for (const UiElement* bitmap : description->childrenNamed("bitmaps").at(0)->childrenNamed("bitmap"))
        listed[*bitmap->attribute("name")] = *bitmap->attribute("path");
    for (const Expected& e : bitmaps)
    {
        ASSERT_EQ(listed.count(e.name), 1u) << e.name;
        EXPECT_EQ(listed.at(e.name), std::string(e.name) + ".png");
        for (int scale : {1, 2})
        {
            const std::string file = resourcePath(std::string(e.name) + (scale == 2 ? "@2x" : "") + ".png");
            cairo_surface_t* image = cairo_image_surface_create_from_png(file.c_str());
            ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS) << file;
            EXPECT_EQ(cairo_image_surface_get_width(image), e.width * scale) << file;
            EXPECT_EQ(cairo_image_surface_get_height(image), e.height * scale) << file;
            EXPECT_EQ(cairo_image_surface_get_format(image), CAIRO_FORMAT_ARGB32) << file;
            cairo_surface_destroy(image);
        }
    }
}
