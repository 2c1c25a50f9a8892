// The sample rates tessaline works at, one range for a file's own rate, --room-rate and --rate.
#pragma once

#include "ArgumentText.h"

#include <string>

namespace TessalineTool {

constexpr int kLowestRate = 8000;
constexpr int kHighestRate = 384000;

// "8000 to 384000", for messages and help texts.
inline std::string rateRangeText()
{
    return std::to_string(kLowestRate) + " to " + std::to_string(kHighestRate);
}

// The whole of text as a rate in the range; false with "OPTION wants a sample rate ..." otherwise.
inline bool parseRate(const std::string& option, const std::string& text, int& rate, std::string& error)
{
    long parsed = 0;
    if (!parseWholeNumber(text, kLowestRate, kHighestRate, parsed))
    {
        error = option + " wants a sample rate in Hz from " + rateRangeText() + ", not '" + text + "'";
        return false;
    }
    rate = static_cast<int>(parsed);
    return true;
}

} // namespace TessalineTool
