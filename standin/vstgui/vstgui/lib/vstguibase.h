// Reference counting as the toolkit uses it: objects start with one reference owned by their
// creator; remember() adds one, forget() drops one and deletes at zero. Views handed to a
// container are owned by it (addView takes the creator's reference).
#pragma once

#include "vstguifwd.h"

#include <cstdint>
#include <utility>

namespace VSTGUI {

class IReference
{
public:
    virtual ~IReference() = default;
    virtual void remember() = 0;
    virtual void forget() = 0;
};

// Single-threaded counting: the toolkit lives on the host's user-interface thread only.
template <typename Base>
class ReferenceCounted : public Base
{
public:
    ReferenceCounted() = default;
    ReferenceCounted(const ReferenceCounted&)
        : Base()
        , nbReference(1)
    {}
    ReferenceCounted& operator=(const ReferenceCounted&) { return *this; }

    void remember() override { ++nbReference; }
    void forget() override
    {
        if (--nbReference == 0)
        {
            beforeDelete();
            delete this;
        }
    }
    int32_t getNbReference() const { return nbReference; }

    virtual void beforeDelete() {}

private:
    int32_t nbReference{1};
};

using NonAtomicReferenceCounted = ReferenceCounted<IReference>;

class CBaseObject : public NonAtomicReferenceCounted
{
public:
    CBaseObject() = default;
    ~CBaseObject() override = default;
    CBaseObject(const CBaseObject&) = default;
    CBaseObject& operator=(const CBaseObject&) = default;

    virtual CMessageResult notify(CBaseObject* sender, IdStringPtr message) { return kMessageUnknown; }
};

// Owning smart pointer over remember/forget.
template <class I>
class SharedPointer
{
public:
    SharedPointer() noexcept = default;
    SharedPointer(I* p, bool remember = true) noexcept
        : ptr(p)
    {
        if (ptr && remember)
            ptr->remember();
    }
    SharedPointer(const SharedPointer& o) noexcept
        : SharedPointer(o.ptr)
    {}
    template <class T>
    SharedPointer(const SharedPointer<T>& o) noexcept
        : SharedPointer(o.get())
    {}
    SharedPointer(SharedPointer&& o) noexcept
        : ptr(std::exchange(o.ptr, nullptr))
    {}
    ~SharedPointer() noexcept
    {
        if (ptr)
            ptr->forget();
    }
    SharedPointer& operator=(const SharedPointer& o) noexcept { return *this = o.ptr; }
    SharedPointer& operator=(SharedPointer&& o) noexcept
    {
        if (this != &o)
        {
            if (ptr)
                ptr->forget();
            ptr = std::exchange(o.ptr, nullptr);
        }
        return *this;
    }
    SharedPointer& operator=(I* p) noexcept
    {
        if (p != ptr)
        {
            if (p)
                p->remember();
            if (ptr)
                ptr->forget();
            ptr = p;
        }
        return *this;
    }

    I* get() const noexcept { return ptr; }
    I* operator->() const noexcept { return ptr; }
    I& operator*() const noexcept { return *ptr; }
    operator I*() const noexcept { return ptr; }
    explicit operator bool() const noexcept { return ptr != nullptr; }

    template <class T>
    T* cast() const
    {
        return dynamic_cast<T*>(ptr);
    }

private:
    I* ptr{nullptr};
};

// Takes over the creator's reference without adding one.
template <class I>
SharedPointer<I> owned(I* p) noexcept
{
    return SharedPointer<I>(p, false);
}

template <class I>
SharedPointer<I> shared(I* p) noexcept
{
    return SharedPointer<I>(p, true);
}

template <class I, typename... Args>
SharedPointer<I> makeOwned(Args&&... args)
{
    return SharedPointer<I>(new I(std::forward<Args>(args)...), false);
}

} // namespace VSTGUI
