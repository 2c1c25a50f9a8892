// The fast log2/pow2 pair behind the volt/octave curve: accuracy over the useful range and
// defined answers at the edges.
#include "adapter/parameters/ApproxMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using Steinberg::Vst::Vava2DUZ3::approxLog2;
using Steinberg::Vst::Vava2DUZ3::approxPow2;

TEST(ApproxMath, Log2TracksTheExactLogarithm)
{
    for (float x : {1e-6f, 0.001f, 0.3f, 0.5f, 1.0f, 1.5f, 2.0f, 3.0f, 10.0f, 640.0f, 1024.0f, 1e6f})
        EXPECT_NEAR(approxLog2(x), std::log2(x), 2e-4) << "x = " << x;
}

TEST(ApproxMath, Pow2TracksTheExactPower)
{
    for (float x : {-20.0f, -3.5f, -1.0f, -0.25f, 0.0f, 0.25f, 1.0f, 4.99f, 10.0f, 30.0f})
        EXPECT_NEAR(approxPow2(x) / std::exp2(x), 1.0, 2e-4) << "x = " << x;
}

TEST(ApproxMath, RoundTripStaysClose)
{
    for (float x : {0.01f, 1.0f, 20.0f, 640.0f, 20480.0f})
        EXPECT_NEAR(approxPow2(approxLog2(x)) / x, 1.0, 5e-4) << "x = " << x;
}

TEST(ApproxMath, Pow2EdgesAreDefined)
{
    // Below -126 the argument is clamped: a tiny positive number, never a wrapped pattern.
    const float tiny = approxPow2(-1000.0f);
    EXPECT_GE(tiny, 0.0f);
    EXPECT_LT(tiny, 1e-37f);
    EXPECT_TRUE(std::isinf(approxPow2(200.0f)));
    EXPECT_TRUE(std::isnan(approxPow2(std::numeric_limits<float>::quiet_NaN())));
}
