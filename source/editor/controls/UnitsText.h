// A units text as the units views keep it: without leading and trailing blanks.
#pragma once

#include <string>

namespace VSTGUI {

std::string trimUnits(const std::string& units);
// The shown text with its units: "12.00" and "dB" give "12.00 dB"; no units, the text alone.
std::string withUnits(const std::string& text, const std::string& units);

} // namespace VSTGUI
