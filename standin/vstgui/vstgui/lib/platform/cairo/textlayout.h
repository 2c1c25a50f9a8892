// Pango layouts of (font, text) pairs, kept between repaints: labels redraw the same texts 20
// times a second, and shaping them once is the expensive part of text drawing.
#pragma once

#include "../../cfont.h"
#include "../../cpoint.h"

#include <string>

typedef struct _PangoLayout PangoLayout;

namespace VSTGUI {
namespace TextLayout {

// A layout owned by the cache (valid until the next call).
PangoLayout* get(const CFontDesc& font, const std::string& text);
// Logical width and height of the text, in points.
CPoint measure(const CFontDesc& font, const std::string& text);
// Drops every cached layout.
void clear();

} // namespace TextLayout
} // namespace VSTGUI
