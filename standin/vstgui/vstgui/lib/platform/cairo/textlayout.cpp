#include "textlayout.h"

#include <pango/pangocairo.h>

#include <unordered_map>

namespace VSTGUI {
namespace TextLayout {

namespace {
constexpr size_t kMaxEntries = 512;

struct Cache
{
    PangoContext* context{nullptr};
    std::unordered_map<std::string, PangoLayout*> layouts;

    Cache()
    {
        context = pango_font_map_create_context(pango_cairo_font_map_get_default());
        // Metrics without hinting: the same layout at 1x and 2x, only sharper.
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
    }
    ~Cache()
    {
        clearAll();
        g_object_unref(context);
    }
    void clearAll()
    {
        for (auto& entry : layouts)
            g_object_unref(entry.second);
        layouts.clear();
    }
};

Cache& cache()
{
    static Cache instance;
    return instance;
}
} // namespace

PangoLayout* get(const CFontDesc& font, const std::string& text)
{
    Cache& c = cache();
    std::string key = font.getPangoDescription();
    key += '\n';
    key += text;
    auto it = c.layouts.find(key);
    if (it != c.layouts.end())
        return it->second;
    if (c.layouts.size() >= kMaxEntries)
        c.clearAll();
    PangoLayout* layout = pango_layout_new(c.context);
    PangoFontDescription* desc = pango_font_description_from_string(font.getPangoDescription().c_str());
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    // Invalid UTF-8 would make pango complain; such bytes are shown as replacement marks.
    if (g_utf8_validate(text.c_str(), static_cast<gssize>(text.size()), nullptr))
        pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    else
    {
        gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
        pango_layout_set_text(layout, valid, -1);
        g_free(valid);
    }
    c.layouts.emplace(std::move(key), layout);
    return layout;
}

CPoint measure(const CFontDesc& font, const std::string& text)
{
    PangoRectangle logical;
    pango_layout_get_extents(get(font, text), nullptr, &logical);
    return CPoint(static_cast<double>(logical.width) / PANGO_SCALE,
                  static_cast<double>(logical.height) / PANGO_SCALE);
}

void clear() { cache().clearAll(); }

} // namespace TextLayout
} // namespace VSTGUI
