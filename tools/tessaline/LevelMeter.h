// The peak of a signal and how many of its samples lie beyond full scale, so a render can say
// that it clipped instead of letting it pass unnoticed.
#pragma once

#include <cmath>
#include <cstdint>

namespace TessalineTool {

class LevelMeter
{
public:
    void add(const float* samples, int64_t count)
    {
        for (int64_t i = 0; i < count; ++i)
        {
            const double level = std::fabs(static_cast<double>(samples[i]));
            if (level > largest)
                largest = level;
            if (level > 1.0)
                ++beyondFullScale;
        }
    }

    double peak() const { return largest; }
    // The peak in dB relative to full scale (-inf for silence).
    double peakDbfs() const { return 20.0 * std::log10(largest); }
    int64_t overs() const { return beyondFullScale; }

private:
    double largest = 0.0;
    int64_t beyondFullScale = 0;
};

} // namespace TessalineTool
