// A panel shaped like the room panel: a 303 by 525 frame, a textured 268 by 490 container,
// seven 80-frame filmstrip knobs with captions, three switches, an option menu and the titles.
// One iteration is what the editor's 50 ms tick does: invalidate everything and repaint it.

#include "vstgui/vstgui.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <memory>
#include <string>

using namespace VSTGUI;

namespace {

std::string asset(const char* name) { return std::string(VSTGUI_BENCH_DIR) + "/" + name; }

// Images with the room panel's geometry; their content only has to be non-trivial.
void writeAssets()
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 512, 512);
    cairo_t* cr = cairo_create(s);
    for (int i = 0; i < 512; i += 4)
    {
        cairo_set_source_rgba(cr, 0.5 + 0.2 * std::sin(i * 0.05), 0.5, 0.55, 0.9);
        cairo_rectangle(cr, 0, i, 512, 4);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, asset("metal.png").c_str());
    cairo_surface_destroy(s);

    auto strip = [](const char* name, int frames) {
        cairo_surface_t* st = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 42, 42 * frames);
        cairo_t* c = cairo_create(st);
        for (int k = 0; k < frames; ++k)
        {
            cairo_arc(c, 21, 21 + 42 * k, 19, 0, 2 * M_PI);
            cairo_set_source_rgb(c, 0.2, 0.2, 0.2);
            cairo_fill(c);
            const double a = 0.75 * M_PI + 1.5 * M_PI * k / (frames - 1);
            cairo_move_to(c, 21, 21 + 42 * k);
            cairo_line_to(c, 21 + 17 * std::cos(a), 21 + 42 * k + 17 * std::sin(a));
            cairo_set_source_rgb(c, 1, 1, 1);
            cairo_set_line_width(c, 3);
            cairo_stroke(c);
        }
        cairo_destroy(c);
        cairo_surface_write_to_png(st, asset(name).c_str());
        cairo_surface_destroy(st);
    };
    strip("knob.png", 80);
    strip("toggle.png", 2);
}

struct Panel
{
    CFrame* frame;
    std::vector<CControl*> controls;

    Panel()
    {
        static bool written = false;
        if (!written)
        {
            writeAssets();
            written = true;
        }
        frame = new CFrame(CRect(0, 0, 303, 525), nullptr);
        frame->setBackgroundColor(kGreyCColor);
        auto metal = owned<CBitmap>(
            new CNinePartTiledBitmap(CResourceDescription(asset("metal.png")), CNinePartTiledDescription()));
        auto knobStrip = makeOwned<CBitmap>(CResourceDescription(asset("knob.png")));
        auto toggle = makeOwned<CBitmap>(CResourceDescription(asset("toggle.png")));
        auto* panel = new CViewContainer(CRect(15, 15, 283, 505));
        panel->setBackground(metal);
        frame->addView(panel);
        const CPoint knobs[] = {{150, 35}, {151, 110}, {151, 190}, {35, 30},
                                {36, 110}, {35, 190},  {150, 320}};
        for (const CPoint& origin : knobs)
        {
            auto* group = new CViewContainer(CRect(origin, CPoint(75, 85)));
            group->setTransparency(true);
            auto* caption = new CTextLabel(CRect(0, 5, 75, 20), "Abs L-R");
            caption->setFont(kNormalFontSmaller);
            caption->setTransparency(true);
            caption->setFontColor(kBlackCColor);
            group->addView(caption);
            auto* knob = new CAnimKnob(CRect(16, 22, 58, 64), nullptr, 0, 80, 42, knobStrip);
            group->addView(knob);
            controls.push_back(knob);
            panel->addView(group);
        }
        const CPoint switches[] = {{114, 258}, {94, 408}, {24, 408}};
        for (const CPoint& origin : switches)
        {
            auto* button = new COnOffButton(CRect(origin, CPoint(42, 42)), nullptr, 8, toggle);
            panel->addView(button);
            controls.push_back(button);
        }
        auto title = makeOwned<CFontDesc>("Verdana", 14, kBoldFace | kItalicFace);
        const char* labels[] = {"Tessaline", "Quorvane", "Exp", "One Ovr",    "Decay Type",
                                "Source",    "R",        "M",   "Left/Right", "Stereo/Mono"};
        CCoord y = 10;
        for (const char* text : labels)
        {
            auto* label = new CTextLabel(CRect(60, y, 211, y + 16), text);
            label->setFont(title);
            label->setTransparency(true);
            panel->addView(label);
            y += 45;
        }
        auto* menu = new COptionMenu(CRect(60, 355, 102, 375), nullptr, 1);
        for (const char* entry :
             {"Center", "L22", "L45", "L67", "L90", "R22", "R45", "R67", "R90", "Rear", "Above"})
            menu->addEntry(entry);
        menu->setFont(kNormalFontSmaller);
        menu->setStyle(kRoundRectStyle | kNoFrame);
        panel->addView(menu);
        controls.push_back(menu);
        for (const char* text : {"S", "L"})
        {
            auto* label =
                new CTextLabel(CRect(text[0] == 'S' ? -15 : 105, 425, text[0] == 'S' ? 85 : 205, 441), text);
            label->setTransparency(true);
            frame->addView(label);
        }
    }
    ~Panel() { frame->close(); }

    // Moves every control a little, as automation would, so nothing is skipped as unchanged.
    void move(int step)
    {
        for (size_t i = 0; i < controls.size(); ++i)
            controls[i]->setValueNormalized(static_cast<float>((step * 7 + i * 13) % 100) / 99.f);
    }
};

void BM_FullRepaint(benchmark::State& state)
{
    const double scale = static_cast<double>(state.range(0));
    Panel panel;
    auto context = COffscreenContext::create(CPoint(303, 525), scale);
    int step = 0;
    for (auto _ : state)
    {
        panel.move(step++);
        panel.frame->invalid();
        panel.frame->paint(context);
        cairo_surface_flush(static_cast<cairo_surface_t*>(context->getSurface()));
    }
    context->writePNG(asset(scale > 1 ? "panel-x2.png" : "panel-x1.png"));
    // Share of one core for an idle open editor that repaints everything 20 times a second:
    // seconds per repaint x 20 x 100.
    state.counters["idle_cpu_percent"] =
        benchmark::Counter(static_cast<double>(state.iterations()) / 2000.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FullRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
