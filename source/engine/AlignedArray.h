// Owning, zero-initialised array of trivially copyable values on a 64-byte boundary, so that
// vector loads never split cache lines. Sized once at construction; never reallocates.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

template <class T>
class AlignedArray
{
    static_assert(std::is_trivially_copyable<T>::value, "plain values only");

public:
    static constexpr std::size_t kAlignment = 64;

    explicit AlignedArray(std::size_t count)
        : m_pData(static_cast<T*>(::operator new(bytesFor(count), std::align_val_t(kAlignment))))
        , m_nCount(count)
    {
        std::memset(static_cast<void*>(m_pData), 0, bytesFor(count));
    }
    ~AlignedArray() { ::operator delete(m_pData, std::align_val_t(kAlignment)); }

    AlignedArray(const AlignedArray&) = delete;
    AlignedArray& operator=(const AlignedArray&) = delete;

    T* get() const { return m_pData; }
    T& operator[](std::size_t i) const
    {
        assert(i < m_nCount && "index past the array");
        return m_pData[i];
    }
    std::size_t size() const { return m_nCount; }
    void zero() { std::memset(static_cast<void*>(m_pData), 0, m_nCount * sizeof(T)); }

private:
    // At least one element, so that get() is always a valid pointer.
    static std::size_t bytesFor(std::size_t count) { return (count > 0 ? count : 1) * sizeof(T); }

    T* m_pData;
    std::size_t m_nCount;
};
