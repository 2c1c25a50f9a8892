// Placeholder generator: writes a bank of the right size and layout.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{
constexpr int kTables = 33;
constexpr int kLength = 69632;
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: tessaline_irgen <bank.bin> [<picture.png>]\n");
        return 2;
    }
    std::vector<double> bank(static_cast<size_t>(kTables) * kLength, 0.0);
    for (int k = 0; k < kTables; ++k)
        bank[static_cast<size_t>(k) * kLength + 322] = 0.5;
    FILE* f = std::fopen(argv[1], "wb");
    if (!f)
        return 1;
    size_t n = std::fwrite(bank.data(), sizeof(double), bank.size(), f);
    return (std::fclose(f) == 0 && n == bank.size()) ? 0 : 1;
}
