#include "UnitsText.h"

namespace VSTGUI {

std::string trimUnits(const std::string& units)
{
    static const char* const kBlanks = " \t\n";
    const auto first = units.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return {};
    const auto last = units.find_last_not_of(kBlanks);
    return units.substr(first, last - first + 1);
}

std::string withUnits(const std::string& text, const std::string& units)
{
    return units.empty() ? text : text + " " + units;
}

} // namespace VSTGUI
