// Properties of the embedded room-response bank, table by table.
#include "room/ResponseBank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int kCenterLR = 31;

bool isLeft(int p) { return p >= 1 && p <= 5; }
bool isRight(int p) { return p >= 6; }

int peakIndex(const double* t)
{
    int best = 0;
    for (int i = 1; i < kResponseLength; ++i)
        if (std::fabs(t[i]) > std::fabs(t[best]))
            best = i;
    return best;
}

// Backward-integrated energy in dB relative to the total.
std::vector<double> energyDecayDb(const double* t)
{
    std::vector<double> edc(kResponseLength);
    double sum = 0.0;
    for (int i = kResponseLength - 1; i >= 0; --i)
    {
        sum += t[i] * t[i];
        edc[i] = sum;
    }
    const double total = edc[0];
    for (double& v : edc)
        v = 10.0 * std::log10(v / total);
    return edc;
}

int firstBelow(const std::vector<double>& edc, double db)
{
    for (int i = 0; i < kResponseLength; ++i)
        if (edc[i] <= db)
            return i;
    return kResponseLength;
}

// Tables by position and component, as in R90_CF.
std::string tableName(const ::testing::TestParamInfo<int>& info)
{
    static const char* const kPositionNames[kPositionCount] = {"Center", "L22", "L32", "L45", "L64", "L90",
                                                               "R22",    "R32", "R45", "R64", "R90"};
    static const char* const kComponentNames[3] = {"CF", "LR", "FB"}; // table order within a position
    const int k = info.param;
    return std::string(kPositionNames[10 - k / 3]) + "_" + kComponentNames[k % 3];
}

std::vector<int> tablesWhere(bool (*keep)(int k))
{
    std::vector<int> tables;
    for (int k = 0; k < kTableCount; ++k)
        if (keep(k))
            tables.push_back(k);
    return tables;
}

class BankTable : public ::testing::TestWithParam<int>
{
protected:
    const double* table() const { return roomResponseTable(GetParam()); }
};

// The tables with a direct sound: all but the centred source's interaural component.
class DirectSoundTable : public BankTable
{};

TEST_P(BankTable, StartsAtZeroStaysInRangeAndEndsNonZero)
{
    const double* t = table();
    EXPECT_LE(std::fabs(t[0]), 2.4e-7);
    for (int i = 0; i < kResponseLength; ++i)
        ASSERT_TRUE(std::isfinite(t[i]) && std::fabs(t[i]) <= 0.76) << "sample " << i;
    EXPECT_NE(t[kResponseLength - 1], 0.0);
}

TEST_P(DirectSoundTable, MainPeakIsTheDirectSound)
{
    const int p = peakIndex(table());
    EXPECT_GE(p, 321);
    EXPECT_LE(p, 323);
}

TEST_P(BankTable, DecaysSlowlyByItself)
{
    const std::vector<double> edc = energyDecayDb(table());
    const int down10 = firstBelow(edc, -10.0);
    EXPECT_GE(down10, 15000);
    EXPECT_LE(down10, 19000);
    ASSERT_LT(down10 + 36000, kResponseLength);
    const double firstStep = edc[down10] - edc[down10 + 18000];
    const double secondStep = edc[down10 + 18000] - edc[down10 + 36000];
    EXPECT_GT(firstStep, 8.0);
    EXPECT_LT(firstStep, 13.0);
    EXPECT_GT(secondStep, 8.0);
    EXPECT_LT(secondStep, 13.0);
}

// Every table ends in the bank's tail fade: its last 10 ms (at 44.1 kHz) lie 90 dB or more below
// its loudest 10 ms (unfaded they lie 30 to 40 dB below), so that with the envelopes at 1 (no
// absorption, exponential law) the room still fades out rather than stopping with a cut.
TEST_P(BankTable, EndsFarBelowItsLoudestPart)
{
    constexpr int kWindow = 441;
    const double* t = table();
    auto energy = [t](int first) {
        double sum = 0.0;
        for (int i = first; i < first + kWindow; ++i)
            sum += t[i] * t[i];
        return sum;
    };
    double loudest = 0.0;
    for (int first = 0; first + kWindow <= kResponseLength; first += kWindow)
        loudest = std::max(loudest, energy(first));
    EXPECT_LE(10.0 * std::log10(energy(kResponseLength - kWindow) / loudest), -90.0);
}

INSTANTIATE_TEST_SUITE_P(AllTables, BankTable, ::testing::ValuesIn(tablesWhere([](int) { return true; })),
                         tableName);
// A centred source reaches both ears at once: its interaural component has no direct sound.
INSTANTIATE_TEST_SUITE_P(AllButCenterLR, DirectSoundTable,
                         ::testing::ValuesIn(tablesWhere([](int k) { return k != kCenterLR; })), tableName);

TEST(ResponseBank, WholeBankIsNormalisedToThreeQuarters)
{
    double maxAbs = 0.0;
    for (long i = 0; i < static_cast<long>(kTableCount) * kResponseLength; ++i)
        maxAbs = std::max(maxAbs, std::fabs(kRoomResponses[i]));
    EXPECT_NEAR(maxAbs, 0.75, 1e-9);
}

TEST(ResponseBank, TableIndicesFollowPositionsBackwardsInOrderCfLrFb)
{
    for (int p = 0; p < kPositionCount; ++p)
    {
        EXPECT_EQ(cfTableOf(p), 30 - 3 * p);
        EXPECT_EQ(lrTableOf(p), cfTableOf(p) + 1);
        EXPECT_EQ(fbTableOf(p), cfTableOf(p) + 2);
        EXPECT_EQ(10 - fbTableOf(p) / 3, p);
    }
    EXPECT_EQ(fbTableOf(0), 32);
    EXPECT_EQ(cfTableOf(10), 0);
    EXPECT_EQ(roomResponseTable(1) - roomResponseTable(0), kResponseLength);
}

// The interaural component's sign follows the side, and its direct sound grows with the angle:
// a wrong position mapping or a swapped ear shows here.
TEST(ResponseBank, InterauralComponentFollowsSideAndAngle)
{
    double previousLeft = 0.0, previousRight = 0.0;
    const double centre =
        std::fabs(roomResponseTable(lrTableOf(0))[peakIndex(roomResponseTable(lrTableOf(0)))]);
    for (int p = 1; p < kPositionCount; ++p)
    {
        const double* lr = roomResponseTable(lrTableOf(p));
        const double peak = lr[peakIndex(lr)];
        SCOPED_TRACE(p);
        if (isLeft(p))
        {
            EXPECT_GT(peak, 0.0);
            EXPECT_GT(peak, previousLeft);
            previousLeft = peak;
        }
        if (isRight(p))
        {
            EXPECT_LT(peak, 0.0);
            EXPECT_GT(-peak, previousRight);
            previousRight = -peak;
        }
        EXPECT_LT(centre, 0.5 * std::fabs(peak)); // small for Center
    }
}

// The common part carries the direct sound shared equally: CF and FB peaks agree.
TEST(ResponseBank, DirectSoundIsSharedBetweenFbAndCf)
{
    for (int p = 0; p < kPositionCount; ++p)
    {
        const double* cf = roomResponseTable(cfTableOf(p));
        const double* fb = roomResponseTable(fbTableOf(p));
        EXPECT_NEAR(cf[322], fb[322], 0.01 * std::fabs(cf[322])) << p;
    }
}

TEST(ResponseBank, GeneratorIsDeterministicAndMatchesTheEmbeddedBank)
{
    const std::string path = ::testing::TempDir() + "tessaline_bank_check.bin";
    const std::string command = std::string("\"") + TESSALINE_IRGEN + "\" \"" + path + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<unsigned char> bytes(static_cast<size_t>(kTableCount) * kResponseLength * 8 + 1);
    const size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    std::remove(path.c_str());
    ASSERT_EQ(n, 18382848u);
    // Little-endian doubles in table order.
    for (size_t i = 0; i < n / 8; i += 997)
    {
        uint64_t bits = 0;
        for (int b = 7; b >= 0; --b)
            bits = (bits << 8) | bytes[i * 8 + b];
        double v;
        std::memcpy(&v, &bits, 8);
        ASSERT_EQ(v, kRoomResponses[i]) << "sample " << i;
    }
    EXPECT_EQ(std::memcmp(bytes.data(), kRoomResponses, n), 0);
}

} // namespace
