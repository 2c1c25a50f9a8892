// Writes a drawn picture as PNG with named texts (tEXt chunks) that scripts can read back, through
// a PendingOutput so that a failure leaves no partial file.
#pragma once

#include "RoomPlot.h"

#include <cairo.h>

#include <string>
#include <vector>

namespace TessalineTool {

// surface: an opaque ARGB32 image surface; labels become tEXt chunks "key" = "text".
bool writePng(cairo_surface_t* surface, const std::vector<PlotLabel>& labels, const std::string& path,
              std::string& error);

} // namespace TessalineTool
