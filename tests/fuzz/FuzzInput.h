// Reads a fuzzer's bytes front to back as the values a target needs; zeros once they run out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace TessalineFuzz {

class Input
{
public:
    Input(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size)
    {}
    bool empty() const { return m_at >= m_size; }
    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
    template <typename T>
    T raw()
    {
        uint8_t bytes[sizeof(T)] = {};
        for (uint8_t& b : bytes)
            b = byte();
        T value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

} // namespace TessalineFuzz
