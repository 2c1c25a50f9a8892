// The peak of a signal and how many of its samples lie beyond full scale, so a render can say
// that it clipped instead of letting it pass unnoticed.
#pragma once

#include <cmath>
#include <cstdint>

namespace TessalineTool {

class LevelMeter
{
public:
    // The level is compared in float, where it is exact: the same peak and count as in double,
    // and eight independent lanes the compiler can run side by side. A NaN never becomes the
    // peak (no comparison with it holds) and is not counted beyond full scale.
    void add(const float* samples, int64_t count)
    {
        constexpr int kLanes = 8;
        float top[kLanes] = {};
        int64_t over[kLanes] = {};
        int64_t i = 0;
        for (; i + kLanes <= count; i += kLanes)
            for (int k = 0; k < kLanes; ++k)
            {
                const float level = std::fabs(samples[i + k]);
                top[k] = level > top[k] ? level : top[k];
                over[k] += level > 1.0f ? 1 : 0;
            }
        for (; i < count; ++i)
        {
            const float level = std::fabs(samples[i]);
            top[0] = level > top[0] ? level : top[0];
            over[0] += level > 1.0f ? 1 : 0;
        }
        for (int k = 0; k < kLanes; ++k)
        {
            if (static_cast<double>(top[k]) > largest)
                largest = static_cast<double>(top[k]);
            beyondFullScale += over[k];
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
