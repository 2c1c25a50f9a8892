// Reading a custom view's attributes from the editor description. Every reader gives a defined
// value for a missing, empty, malformed or overflowing attribute, and keeps rectangles and
// counts within sizes a panel can have.
#pragma once

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/crect.h"
#include "vstgui/uidescription/iuidescription.h"
#include "vstgui/uidescription/uiattributes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace VSTGUI {
namespace ViewAttributes {

// Largest width, height or origin coordinate a view may have, in points.
constexpr int32_t kMaxExtent = 16384;
// Largest number of LEDs (or filmstrip frames) a meter may have.
constexpr int32_t kMaxLeds = 4096;

// A decimal integer after optional blanks, digits up to the first other character; 0 when
// there are no digits or the number does not fit in 32 bits.
int32_t parseInt(const char* text);
// "x, y": x from the start, y after the first comma; 0, 0 without a comma.
CPoint parsePoint(const std::string& text);

const std::string* find(const UIAttributes& attributes, const char* name);
// The attribute's text, or the empty text when it is missing.
std::string text(const UIAttributes& attributes, const char* name);
bool has(const UIAttributes& attributes, const char* name);
bool hasText(const UIAttributes& attributes, const char* name);

CPoint point(const UIAttributes& attributes, const char* name);
int32_t integer(const UIAttributes& attributes, const char* name);
// True only for the exact text "true".
bool flag(const UIAttributes& attributes, const char* name);
// origin and size as a rectangle; negative sizes read as 0, everything within kMaxExtent.
CRect rect(const UIAttributes& attributes);
// The description's colour of that name, or opaque white.
CColor color(const UIAttributes& attributes, const char* name, const IUIDescription* description);
// A new bitmap from the attribute's text plus ".png" (one reference, the caller's).
CBitmap* bitmap(const UIAttributes& attributes, const char* name);

// A decimal floating-point number filling the whole text, or nothing.
std::optional<double> parseNumber(const std::string& text);

} // namespace ViewAttributes
} // namespace VSTGUI
