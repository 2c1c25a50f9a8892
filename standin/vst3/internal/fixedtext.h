// Bounded copies into the fixed-size text fields of the factory records.
//
// The records come from callers we do not trust to terminate their texts (a field filled to its
// last byte has no terminator), so every copy reads at most the source field's width, writes at
// most width - 1 characters, terminates and zero-fills the rest of the destination.
#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <cstddef>
#include <type_traits>

namespace Steinberg {
namespace StandIn {

// Length of a text that may lack its terminator, reading at most srcMax characters.
template <typename T>
size_t boundedLength(const T* src, size_t srcMax)
{
    size_t n = 0;
    if (src)
        while (n < srcMax && src[n] != 0)
            ++n;
    return n;
}

// Copies src (at most srcMax characters) into dest[destSize], truncated to destSize - 1 characters.
// 8-bit characters widen one to one when the destination is UTF-16 (the factory texts are ASCII).
template <typename D, typename S>
void copyFixedText(D* dest, size_t destSize, const S* src, size_t srcMax)
{
    if (destSize == 0)
        return;
    size_t n = boundedLength(src, srcMax);
    if (n > destSize - 1)
        n = destSize - 1;
    for (size_t i = 0; i < n; ++i)
        dest[i] = static_cast<D>(static_cast<typename std::make_unsigned<S>::type>(src[i]));
    for (size_t i = n; i < destSize; ++i)
        dest[i] = 0;
}

// Array form: both widths are taken from the field types.
template <typename D, size_t DN, typename S, size_t SN>
void copyFixedText(D (&dest)[DN], const S (&src)[SN])
{
    copyFixedText(dest, DN, src, SN);
}

} // namespace StandIn
} // namespace Steinberg
