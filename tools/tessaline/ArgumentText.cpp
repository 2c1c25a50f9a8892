#include "ArgumentText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace TessalineTool {

bool parseNumber(const std::string& text, double& value)
{
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool parseWholeNumber(const std::string& text, long low, long high, long& value)
{
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

bool takeValue(const std::vector<std::string>& args, size_t& i, std::string& value, std::string& error)
{
    if (i + 1 >= args.size())
    {
        error = args[i] + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

} // namespace TessalineTool
