// Offscreen drawing: views drawn into an image surface and checked pixel by pixel; the pictures
// are saved in the build tree (vstgui-pictures) to look at.

#include "TestAssets.h"

#include "vstgui/vstgui.h"

#include <gtest/gtest.h>
#include <cairo.h>
#include <pango/pangocairo.h>

using namespace VSTGUI;

namespace {

// A view that paints its whole rectangle, to see where drawing reaches.
class FillView : public CView
{
public:
    FillView(const CRect& r, const CColor& c)
        : CView(r)
        , color(c)
    {}
    void draw(CDrawContext* context) override
    {
        context->setFillColor(color);
        context->drawRect(CRect(-1000, -1000, 1000, 1000), kDrawFilled);
    }
    CColor color;
};

class Drawing : public ::testing::Test
{
protected:
    void SetUp() override { TestAssets::prepare(); }
    void TearDown() override
    {
        for (CFrame* f : frames)
            f->close();
    }
    // A frame closed (and so freed) when the test ends.
    CFrame* makeFrame(const CRect& size)
    {
        frames.push_back(new CFrame(size, nullptr));
        return frames.back();
    }
    std::vector<CFrame*> frames;

    SharedPointer<COffscreenContext> drawFrame(CFrame* frame, double scale)
    {
        auto context = COffscreenContext::create(frame->getViewSize().getSize(), scale);
        frame->paint(context, true);
        return context;
    }

    static void expectColor(const CColor& actual, const CColor& expected, const char* where)
    {
        EXPECT_EQ(actual, expected) << where << ": got " << int(actual.red) << "," << int(actual.green) << ","
                                    << int(actual.blue) << "," << int(actual.alpha);
    }
    static std::string picture(const std::string& name) { return TestAssets::directory() + "/" + name; }
};

TEST_F(Drawing, FilmstripKnobShowsTheFrameOfItsValueAtEitherScale)
{
    CFrame* frame = makeFrame(CRect(0, 0, 60, 60));
    auto strip = makeOwned<CBitmap>(CResourceDescription(TestAssets::directory() + "/strip.png"));
    ASSERT_TRUE(strip->isLoaded());
    auto* knob = new CAnimKnob(CRect(9, 9, 51, 51), nullptr, 0, 80, 42, strip);
    frame->addView(knob);
    for (double scale : {1.0, 2.0})
        for (int k : {0, 1, 2, 39, 40, 41, 77, 78, 79})
        {
            knob->setValue(static_cast<float>(k) / 79.f);
            EXPECT_EQ(knob->getFrameIndex(), k);
            auto context = drawFrame(frame, scale);
            const std::string where = "frame " + std::to_string(k) + " at scale " + std::to_string(scale);
            // Centre and both inner corners of the knob show the frame's colour.
            for (auto p : {CPoint(30, 30), CPoint(10, 10), CPoint(50, 50)})
                expectColor(context->getPixel(int(p.x * scale), int(p.y * scale)), TestAssets::frameColor(k),
                            where.c_str());
            if (k == 40)
                context->writePNG(picture("knob-frame40-x" + std::to_string(int(scale)) + ".png"));
        }
}

TEST_F(Drawing, SwitchShowsItsSecondFrameWhenOn)
{
    CFrame* frame = makeFrame(CRect(0, 0, 50, 50));
    auto image = makeOwned<CBitmap>(CResourceDescription(TestAssets::directory() + "/switch.png"));
    auto* button = new COnOffButton(CRect(4, 4, 46, 46), nullptr, 0, image);
    frame->addView(button);
    expectColor(drawFrame(frame, 1)->getPixel(25, 25), TestAssets::kSwitchOff, "off");
    button->setValue(1);
    expectColor(drawFrame(frame, 1)->getPixel(25, 25), TestAssets::kSwitchOn, "on");
    expectColor(drawFrame(frame, 2)->getPixel(50, 50), TestAssets::kSwitchOn, "on at 2x");
}

TEST_F(Drawing, ChildrenAreClippedToTheirContainerAndBackgroundsFollowChanges)
{
    CFrame* frame = makeFrame(CRect(0, 0, 100, 100));
    frame->setBackgroundColor(kBlueCColor);
    auto* container = new CViewContainer(CRect(20, 20, 60, 60));
    container->setBackgroundColor(kBlackCColor);
    // The child is far larger than the container and paints everything it can.
    container->addView(new FillView(CRect(-30, -30, 100, 100), kRedCColor));
    frame->addView(container);
    auto context = drawFrame(frame, 1);
    context->writePNG(picture("clipped-child.png"));
    expectColor(context->getPixel(30, 30), kRedCColor, "inside the container");
    for (auto p : {CPoint(10, 10), CPoint(19, 40), CPoint(60, 40), CPoint(40, 60), CPoint(90, 90)})
        expectColor(context->getPixel(int(p.x), int(p.y)), kBlueCColor, "outside the container");

    // The cached background is redrawn after a change.
    frame->setBackgroundColor(kGreenCColor);
    expectColor(drawFrame(frame, 1)->getPixel(10, 10), kGreenCColor, "new background");
    expectColor(drawFrame(frame, 2)->getPixel(20, 20), kGreenCColor, "new background at 2x");
}

TEST_F(Drawing, InvalidRectanglesRepaintOnlyTheirPart)
{
    CFrame* frame = makeFrame(CRect(0, 0, 100, 100));
    frame->setBackgroundColor(kBlackCColor);
    auto* left = new FillView(CRect(0, 0, 50, 100), kRedCColor);
    auto* right = new FillView(CRect(50, 0, 100, 100), kRedCColor);
    frame->addView(left);
    frame->addView(right);
    auto context = drawFrame(frame, 1);
    left->color = kGreenCColor;
    right->color = kGreenCColor;
    frame->clearInvalidRect();
    left->invalid();
    const CRect painted = frame->paint(context);
    EXPECT_EQ(painted, CRect(0, 0, 50, 100));
    expectColor(context->getPixel(25, 50), kGreenCColor, "repainted left half");
    expectColor(context->getPixel(75, 50), kRedCColor, "untouched right half");
}

TEST_F(Drawing, TextIsDrawnInTheFallbackFaceWithSizeAndStyle)
{
    // "Verdana" is not on Debian: fontconfig gives a sans face, bold and italic kept.
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* pc = pango_font_map_create_context(map);
    auto verdana = makeOwned<CFontDesc>("Verdana", 14, kBoldFace | kItalicFace);
    PangoFontDescription* desc = pango_font_description_from_string(verdana->getPangoDescription().c_str());
    PangoFont* font = pango_font_map_load_font(map, pc, desc);
    ASSERT_NE(font, nullptr);
    PangoFontDescription* loaded = pango_font_describe_with_absolute_size(font);
    EXPECT_EQ(pango_font_description_get_weight(loaded), PANGO_WEIGHT_BOLD);
    EXPECT_NE(pango_font_description_get_style(loaded), PANGO_STYLE_NORMAL);
    EXPECT_NEAR(pango_font_description_get_size(loaded) / double(PANGO_SCALE), 14, 0.5);
    pango_font_description_free(loaded);
    g_object_unref(font);
    pango_font_description_free(desc);
    g_object_unref(pc);

    // A white label on black: white pixels inside its rectangle only.
    CFrame* frame = makeFrame(CRect(0, 0, 120, 40));
    frame->setBackgroundColor(kBlackCColor);
    auto* label = new CTextLabel(CRect(10, 10, 110, 30), "Tessaline");
    label->setFont(verdana);
    label->setFontColor(kWhiteCColor);
    label->setTransparency(true);
    frame->addView(label);
    for (double scale : {1.0, 2.0})
    {
        auto context = drawFrame(frame, scale);
        context->writePNG(picture("label-x" + std::to_string(int(scale)) + ".png"));
        int lit = 0, outside = 0;
        for (int y = 0; y < context->getPixelHeight(); ++y)
            for (int x = 0; x < context->getPixelWidth(); ++x)
                if (context->getPixel(x, y).red > 128)
                {
                    const bool inside =
                        x >= 10 * scale && x < 110 * scale && y >= 10 * scale && y < 30 * scale;
                    (inside ? lit : outside)++;
                }
        EXPECT_GT(lit, 60 * scale * scale);
        EXPECT_EQ(outside, 0);
    }
}

// A PNG of w by h: left half 'left', right half 'right'.
void writeHalves(const std::string& path, int w, int h, const CColor& left, const CColor& right)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    for (int half = 0; half < 2; ++half)
    {
        const CColor& c = half ? right : left;
        cairo_set_source_rgba(cr, c.normRed(), c.normGreen(), c.normBlue(), c.normAlpha());
        cairo_rectangle(cr, half * w / 2., 0, w / 2., h);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

TEST_F(Drawing, TexturesTileAndTwiceSizedImagesServeScaleTwo)
{
    // A 16 point texture repeated across a wider container.
    writeHalves(picture("halves.png"), 16, 16, kRedCColor, kBlueCColor);
    CFrame* frame = makeFrame(CRect(0, 0, 64, 20));
    auto* container = new CViewContainer(CRect(0, 0, 64, 20));
    container->setBackground(owned<CBitmap>(
        new CNinePartTiledBitmap(CResourceDescription(picture("halves.png")), CNinePartTiledDescription())));
    frame->addView(container);
    for (double scale : {1.0, 2.0})
    {
        auto context = drawFrame(frame, scale);
        for (int x : {4, 12, 20, 28, 36, 44, 52, 60})
            expectColor(context->getPixel(int(x * scale), int(10 * scale)),
                        (x % 16) < 8 ? kRedCColor : kBlueCColor, ("tile at x " + std::to_string(x)).c_str());
    }

    // "dot.png" with a sibling "dot@2x.png": each scale draws its own image.
    writeHalves(picture("dot.png"), 8, 8, kRedCColor, kRedCColor);
    writeHalves(picture("dot@2x.png"), 16, 16, kGreenCColor, kBlueCColor);
    CFrame* small = makeFrame(CRect(0, 0, 8, 8));
    small->setBackground(owned(new CBitmap(CResourceDescription(picture("dot.png")))));
    ASSERT_NE(small->getBackground()->getSurface2x(), nullptr);
    expectColor(drawFrame(small, 1)->getPixel(6, 4), kRedCColor, "1x image");
    auto sharp = drawFrame(small, 2);
    expectColor(sharp->getPixel(2, 8), kGreenCColor, "2x image, left");
    expectColor(sharp->getPixel(13, 8), kBlueCColor, "2x image, right");
}

} // namespace
