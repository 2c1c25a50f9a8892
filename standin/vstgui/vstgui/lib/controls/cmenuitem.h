// One entry of an option menu: its title and whether it is checked, enabled or a separator.
#pragma once

#include "../vstguibase.h"

#include <string>

namespace VSTGUI {

class CMenuItem : public CBaseObject
{
public:
    enum Flags
    {
        kNoFlags = 0,
        kDisabled = 1 << 0,
        kChecked = 1 << 3,
        kSeparator = 1 << 4
    };
    CMenuItem(const std::string& title, int32_t tag = -1, int32_t flags = kNoFlags)
        : title(title)
        , tag(tag)
        , flags(flags)
    {}

    const std::string& getTitle() const { return title; }
    void setTitle(const std::string& t) { title = t; }
    int32_t getTag() const { return tag; }
    bool isEnabled() const { return !(flags & kDisabled); }
    void setEnabled(bool state) { flags = state ? (flags & ~kDisabled) : (flags | kDisabled); }
    bool isChecked() const { return (flags & kChecked) != 0; }
    void setChecked(bool state) { flags = state ? (flags | kChecked) : (flags & ~kChecked); }
    bool isSeparator() const { return (flags & kSeparator) != 0; }

private:
    std::string title;
    int32_t tag;
    int32_t flags;
};

} // namespace VSTGUI
