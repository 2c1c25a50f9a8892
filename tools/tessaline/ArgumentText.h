// Small readers for option values typed on the command line: strict numbers (the whole text must
// be a finite number) and the value that follows an option name.
#pragma once

#include <string>
#include <vector>

namespace TessalineTool {

// The whole of text as a finite number; false for anything else ("", "1x", "nan", "1e999").
bool parseNumber(const std::string& text, double& value);

// The whole of text as a whole number from low to high.
bool parseWholeNumber(const std::string& text, long low, long high, long& value);

// args[i] is an option that needs a value: moves i onto the value and returns it in value;
// false with "OPTION needs a value" when the arguments end.
bool takeValue(const std::vector<std::string>& args, size_t& i, std::string& value, std::string& error);

} // namespace TessalineTool
