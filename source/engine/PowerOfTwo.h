// Power-of-two checks and exponents for the engine's sizes, which are masked rather than divided.
#pragma once

inline bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// The largest b with 2^b <= n, for n >= 1 (log2 n itself for powers of two).
inline int log2Of(int n)
{
    int bits = 0;
    while ((1 << (bits + 1)) <= n)
        ++bits;
    return bits;
}
