// The room panel as the Processor's editor builds it, offscreen: its one size, every view where
// the description puts it, each control editing exactly its own parameter with a gesture, and
// pictures of the panel in the build tree.
#include "EditorFixture.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/controls/cknob.h"
#include "vstgui/lib/controls/conoffbutton.h"
#include "vstgui/lib/controls/coptionmenu.h"
#include "vstgui/lib/controls/ctextlabel.h"

#include <map>

using namespace EditorTest;
using VSTGUI::CPoint;
using VSTGUI::CRect;
using VSTGUI::CView;

namespace VSTGUI {
// Readable rectangles in failure messages.
inline std::ostream& operator<<(std::ostream& os, const CRect& r)
{
    return os << "(" << r.left << ", " << r.top << " to " << r.right << ", " << r.bottom << ")";
}
} // namespace VSTGUI

namespace {

constexpr int32 kControlCount = 11;

class RoomPanel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        processor = new Processor; // the room model
        ASSERT_EQ(processor->initialize(nullptr), kResultOk);
        handler = std::make_unique<HandlerHolder>(processor);
        session = std::make_unique<OffscreenEditor>(processor);
        ASSERT_NE(session->editor, nullptr);
        ASSERT_TRUE(session->open());
    }
    void TearDown() override
    {
        session.reset();
        processor->setComponentHandler(nullptr);
        handler.reset();
        processor->terminate();
        processor->release();
    }

    // A view's rectangle in editor coordinates.
    static CRect editorRect(const CView* view)
    {
        CPoint topLeft = view->getViewSize().getTopLeft();
        if (view->getParentView())
            view->getParentView()->localToFrame(topLeft);
        return CRect(topLeft, view->getViewSize().getSize());
    }

    template <class T>
    std::vector<T*> views() const
    {
        std::vector<T*> found;
        session->frame()->getChildViewsOfType<T>(found, true);
        return found;
    }

    VSTGUI::CControl* control(int32_t tag) const
    {
        for (auto* c : views<VSTGUI::CControl>())
            if (c->getTag() == tag)
                return c;
        return nullptr;
    }

    std::vector<double> parameterValues() const
    {
        std::vector<double> values;
        for (int32 id = 0; id < kControlCount; ++id)
            values.push_back(processor->getParamNormalized(static_cast<ParamID>(id)));
        return values;
    }

    VSTGUI::SharedPointer<VSTGUI::COffscreenContext> paint(double scale = 1.0) const
    {
        auto context = VSTGUI::COffscreenContext::create(CPoint(303, 525), scale);
        session->frame()->paint(context, true);
        return context;
    }

    // The pixels of one rectangle of a picture, for before/after comparisons.
    static std::vector<uint32_t> pixels(const VSTGUI::COffscreenContext& picture, const CRect& r)
    {
        std::vector<uint32_t> out;
        for (auto y = static_cast<int32_t>(r.top); y < static_cast<int32_t>(r.bottom); ++y)
            for (auto x = static_cast<int32_t>(r.left); x < static_cast<int32_t>(r.right); ++x)
            {
                const VSTGUI::CColor c = picture.getPixel(x, y);
                out.push_back((uint32_t(c.red) << 24) | (uint32_t(c.green) << 16) | (uint32_t(c.blue) << 8)
                              | c.alpha);
            }
        return out;
    }

    void click(const CRect& where, int32_t buttons = VSTGUI::kLButton)
    {
        CPoint p = where.getCenter();
        session->frame()->onMouseDown(p, VSTGUI::CButtonState(buttons));
        session->frame()->onMouseUp(p, VSTGUI::CButtonState(buttons));
    }

    Processor* processor = nullptr;
    std::unique_ptr<HandlerHolder> handler;
    std::unique_ptr<OffscreenEditor> session;
};

} // namespace

TEST_F(RoomPanel, OpensAtItsOneSize)
{
    CRect size;
    session->frame()->getSize(size);
    EXPECT_EQ(size, CRect(0, 0, 303, 525));
    CPoint minimum, maximum;
    session->editor->getEditorSizeConstrains(minimum, maximum);
    EXPECT_EQ(minimum, CPoint(303, 525));
    EXPECT_EQ(maximum, CPoint(303, 525));
    EXPECT_EQ(session->view->canResize(), kResultFalse);
    ViewRect rect;
    ASSERT_EQ(session->editor->getSize(&rect), kResultOk);
    EXPECT_EQ(rect.getWidth(), 303);
    EXPECT_EQ(rect.getHeight(), 525);
}

TEST_F(RoomPanel, EveryViewWhereTheDescriptionPutsIt)
{
    // Controls by tag, labels by title, containers by their rectangle alone.
    const std::map<int32_t, CRect> controls = {
        {0, {181, 357, 223, 399}}, {1, {75, 370, 117, 390}},   {2, {66, 67, 108, 109}},
        {3, {180, 65, 222, 107}},  {4, {67, 147, 109, 189}},   {5, {182, 147, 224, 189}},
        {6, {66, 227, 108, 269}},  {7, {182, 227, 224, 269}},  {8, {129, 273, 171, 315}},
        {9, {39, 423, 81, 465}},   {10, {109, 423, 151, 465}},
    };
    const std::map<std::string, CRect> labels = {
        {"S", {-15, 425, 85, 441}},           {"L", {105, 425, 205, 441}},
        {"Exp", {100, 265, 200, 281}},        {"Tessaline", {75, 25, 226, 41}},
        {"Quorvane", {170, 485, 270, 501}},   {"Source", {50, 475, 150, 491}},
        {"Abs L-R", {165, 50, 240, 65}},      {"Abs F-B", {166, 130, 241, 145}},
        {"Abs C-F", {166, 210, 241, 225}},    {"Vol L-R", {50, 50, 125, 65}},
        {"Vol F-B", {51, 130, 126, 145}},     {"Vol C-F", {50, 210, 125, 225}},
        {"Master Vol", {165, 340, 240, 355}}, {"Decay Type", {169, 285, 243, 300}},
        {"One Ovr", {104, 310, 204, 326}},    {"Left/Right", {95, 460, 169, 475}},
        {"R", {105, 445, 205, 461}},          {"Stereo/Mono", {25, 460, 99, 475}},
        {"M", {-15, 445, 85, 461}},
    };
    const std::vector<CRect> containers = {
        {0, 0, 303, 525},     {15, 15, 283, 505},  {165, 50, 240, 135}, {166, 125, 241, 210},
        {166, 205, 241, 290}, {50, 45, 125, 130},  {51, 125, 126, 210}, {50, 205, 125, 290},
        {165, 335, 240, 399}, {49, 270, 247, 326}, {95, 420, 169, 475}, {25, 420, 99, 475},
    };

    size_t seen = 0;
    std::vector<CRect> foundContainers;
    session->frame()->forEachChild(
        [&](CView* view) {
            ++seen;
            if (auto* label = dynamic_cast<VSTGUI::CTextLabel*>(view);
                label && !dynamic_cast<VSTGUI::COptionMenu*>(view))
            {
                const auto it = labels.find(label->getText());
                ASSERT_NE(it, labels.end()) << "label " << label->getText();
                EXPECT_EQ(editorRect(view), it->second) << "label " << label->getText();
            }
            else if (auto* c = dynamic_cast<VSTGUI::CControl*>(view))
            {
                ASSERT_EQ(controls.count(c->getTag()), 1u) << "tag " << c->getTag();
                EXPECT_EQ(editorRect(view), controls.at(c->getTag())) << "tag " << c->getTag();
            }
            else if (dynamic_cast<VSTGUI::CViewContainer*>(view))
                foundContainers.push_back(editorRect(view));
        },
        true);
    EXPECT_EQ(seen, controls.size() + labels.size() + containers.size());
    EXPECT_EQ(foundContainers, containers);
    // Seven knobs, three switches and the menu are the panel's controls.
    EXPECT_EQ(views<VSTGUI::CAnimKnob>().size(), 7u);
    EXPECT_EQ(views<VSTGUI::COnOffButton>().size(), 3u);
    EXPECT_EQ(views<VSTGUI::COptionMenu>().size(), 1u);
}

TEST_F(RoomPanel, EachKnobEditsOnlyItsOwnParameter)
{
    for (int32_t tag : {0, 2, 3, 4, 5, 6, 7})
    {
        SCOPED_TRACE("knob " + std::to_string(tag));
        VSTGUI::CControl* knob = control(tag);
        ASSERT_NE(knob, nullptr);
        // Start from the middle so that an upward drag has room to raise the value.
        processor->setParamNormalized(static_cast<ParamID>(tag), 0.5);
        session->tick();
        const std::vector<double> before = parameterValues();
        handler->handler->reset();

        // Linear mode: dragging up raises the value; 200 points sweep the whole range.
        CPoint p = editorRect(knob).getCenter();
        session->frame()->onMouseDown(p, VSTGUI::CButtonState(VSTGUI::kLButton));
        CPoint up(p.x, p.y - 40);
        session->frame()->onMouseMoved(up, VSTGUI::CButtonState(VSTGUI::kLButton));
        session->frame()->onMouseUp(up, VSTGUI::CButtonState(VSTGUI::kLButton));

        std::vector<double> after = parameterValues();
        EXPECT_NEAR(after[static_cast<size_t>(tag)], 0.7, 1e-6);
        after[static_cast<size_t>(tag)] = before[static_cast<size_t>(tag)];
        EXPECT_EQ(after, before);
        EXPECT_EQ(handler->handler->beginEditCount, 1);
        EXPECT_EQ(handler->handler->endEditCount, 1);
        ASSERT_FALSE(handler->handler->edits.empty());
        for (const auto& edit : handler->handler->edits)
            EXPECT_EQ(edit.id, static_cast<ParamID>(tag));
    }
}

TEST_F(RoomPanel, SwitchesToggleAndFlipTheirLever)
{
    for (int32_t tag : {8, 9, 10})
    {
        SCOPED_TRACE("switch " + std::to_string(tag));
        VSTGUI::CControl* lever = control(tag);
        ASSERT_NE(lever, nullptr);
        const CRect where = editorRect(lever);
        const double start = processor->getParamNormalized(static_cast<ParamID>(tag));
        const auto picture = pixels(*paint(), where);
        handler->handler->reset();

        click(where);
        EXPECT_EQ(processor->getParamNormalized(static_cast<ParamID>(tag)), 1.0 - start);
        ASSERT_EQ(handler->handler->edits.size(), 1u);
        EXPECT_EQ(handler->handler->edits[0].id, static_cast<ParamID>(tag));
        EXPECT_EQ(handler->handler->beginEditCount, 1);
        EXPECT_EQ(handler->handler->endEditCount, 1);
        EXPECT_NE(pixels(*paint(), where), picture);

        click(where);
        EXPECT_EQ(processor->getParamNormalized(static_cast<ParamID>(tag)), start);
        EXPECT_EQ(pixels(*paint(), where), picture);
    }
}

TEST_F(RoomPanel, MenuListsTheElevenPositions)
{
    auto* menu = dynamic_cast<VSTGUI::COptionMenu*>(control(1));
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> entries;
    for (int32_t i = 0; i < menu->getNbEntries(); ++i)
        entries.push_back(menu->getEntry(i)->getTitle());
    EXPECT_EQ(entries, (std::vector<std::string>{"Center", "L22", "L32", "L45", "L64", "L90", "R22", "R32",
                                                 "R45", "R64", "R90"}));

    // Clicking opens the list; releasing over an entry selects it.
    handler->handler->reset();
    click(editorRect(menu));
    ASSERT_TRUE(menu->isPopupOpen());
    const CRect list = session->frame()->getModalView()->getViewSize();
    const double rowHeight = (list.getHeight() - 2) / 11.0;
    CPoint row5(list.getCenter().x, list.top + 1 + 5.5 * rowHeight);
    session->frame()->onMouseDown(row5, VSTGUI::CButtonState(VSTGUI::kLButton));
    session->frame()->onMouseUp(row5, VSTGUI::CButtonState(VSTGUI::kLButton));
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_NEAR(processor->getParamNormalized(1), 0.5, 1e-9); // L90, the sixth of eleven
    ASSERT_EQ(handler->handler->edits.size(), 1u);
    EXPECT_EQ(handler->handler->edits[0].id, 1u);
    EXPECT_EQ(menu->getCurrent()->getTitle(), "L90");
}

TEST_F(RoomPanel, LeftLabelIsClippedButItsLetterShows)
{
    auto labelNamed = [&](const std::string& title) -> VSTGUI::CTextLabel* {
        for (auto* label : views<VSTGUI::CTextLabel>())
            if (label->getText() == title)
                return label;
        return nullptr;
    };
    VSTGUI::CTextLabel* s = labelNamed("S");
    ASSERT_NE(s, nullptr);
    EXPECT_LT(editorRect(s).left, 0);
    // Dark text pixels left of the Stereo/Mono switch, and none once the label is hidden.
    auto darkPixels = [&] {
        auto picture = paint();
        int dark = 0;
        for (int32_t y = 426; y < 441; ++y)
            for (int32_t x = 26; x < 38; ++x)
            {
                const VSTGUI::CColor c = picture->getPixel(x, y);
                dark += (c.red + c.green + c.blue) < 3 * 70 ? 1 : 0;
            }
        return dark;
    };
    EXPECT_GT(darkPixels(), 5);
    s->setVisible(false);
    EXPECT_EQ(darkPixels(), 0);
}

TEST_F(RoomPanel, AutomationMovesTheControlsOnTheNextTick)
{
    const auto defaults = paint();
    EXPECT_TRUE(defaults->writePNG(std::string(TESSALINE_PICTURE_DIR) + "/panel.png"));
    EXPECT_TRUE(paint(2.0)->writePNG(std::string(TESSALINE_PICTURE_DIR) + "/panel@2x.png"));

    // Every control moved, as host automation moves it.
    const double moved[kControlCount] = {0.9, 0.3, 0.2, 0.15, 0.6, 0.85, 0.4, 1.0, 0.0, 1.0, 1.0};
    for (int32 id = 0; id < kControlCount; ++id)
        processor->setParamNormalized(static_cast<ParamID>(id), moved[id]);
    session->tick();
    for (int32 id = 0; id < kControlCount; ++id)
        EXPECT_NEAR(control(id)->getValueNormalized(), moved[id], 1e-6) << "control " << id;
    const auto after = paint();
    EXPECT_TRUE(after->writePNG(std::string(TESSALINE_PICTURE_DIR) + "/panel-moved.png"));
    for (int32 id = 0; id < kControlCount; ++id)
    {
        const CRect where = editorRect(control(id));
        EXPECT_NE(pixels(*after, where), pixels(*defaults, where)) << "control " << id;
    }
}
