// Streams the fuzz targets reuse instead of allocating per input (under ASan every fresh
// allocation is filled and its pages faulted in, which cost more than the readers themselves).
#pragma once

#include "public.sdk/source/common/memorystream.h"

#include <cstddef>
#include <cstdint>

namespace TessalineFuzz {

// The fuzzer's bytes read in place, as a file reads: a seek before the start or past the end
// fails. (A plain MemoryStream takes any position, so a reader seeking to an offset the input
// names could read outside it.) Reading exactly the input's bytes also lets ASan see any read
// past their end.
class InputStream : public Steinberg::MemoryStream
{
public:
    InputStream(const uint8_t* data, size_t size)
        : MemoryStream(const_cast<uint8_t*>(data), static_cast<Steinberg::TSize>(size))
    {}
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                       Steinberg::int64* result) SMTG_OVERRIDE
    {
        const Steinberg::int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? cursor : size;
        if (pos < -base || pos > size - base)
            return Steinberg::kResultFalse;
        return MemoryStream::seek(pos, mode, result);
    }
};

// A stream written and read again and again in the same memory: empty() keeps its buffer.
class ReusedStream : public Steinberg::MemoryStream
{
public:
    void empty()
    {
        size = 0;
        cursor = 0;
    }
    void rewind() { cursor = 0; }
};

} // namespace TessalineFuzz
