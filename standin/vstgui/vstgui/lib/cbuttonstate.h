// Mouse buttons with their modifier keys, and the key codes of keyboard events.
#pragma once

#include <cstdint>

namespace VSTGUI {

enum CButton : int32_t
{
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5,
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kButton4 = 1 << 8,
    kButton5 = 1 << 9,
    kDoubleClick = 1 << 10,
    kMouseWheelInverted = 1 << 11
};

// Mouse buttons and keyboard modifiers of one pointer event.
class CButtonState
{
public:
    constexpr CButtonState(int32_t s = 0)
        : state(s)
    {}

    int32_t getButtonState() const { return state & (kLButton | kMButton | kRButton | kButton4 | kButton5); }
    int32_t getModifierState() const { return state & (kShift | kControl | kAlt | kApple); }
    bool isLeftButton() const { return (state & kLButton) != 0; }
    bool isRightButton() const { return (state & kRButton) != 0; }
    bool isDoubleClick() const { return (state & kDoubleClick) != 0; }
    int32_t operator()() const { return state; }
    CButtonState& operator=(int32_t s)
    {
        state = s;
        return *this;
    }
    CButtonState& operator|=(int32_t s)
    {
        state |= s;
        return *this;
    }
    bool operator==(int32_t s) const { return state == s; }
    bool operator!=(int32_t s) const { return state != s; }
    int32_t operator&(int32_t s) const { return state & s; }
    int32_t operator|(int32_t s) const { return state | s; }

private:
    int32_t state;
};

// Keys as the views receive them: 'character' is a Unicode code point for printable keys,
// 'virt' one of the VirtualKeyCodes for the others, 'modifier' a set of VstModifierKey bits.
struct VstKeyCode
{
    int32_t character{0};
    unsigned char virt{0};
    unsigned char modifier{0};
};

enum VstModifierKey : unsigned char
{
    MODIFIER_SHIFT = 1 << 0,
    MODIFIER_ALTERNATE = 1 << 1,
    MODIFIER_COMMAND = 1 << 2,
    MODIFIER_CONTROL = 1 << 3
};

enum VirtualKeyCodes : unsigned char
{
    VKEY_BACK = 1,
    VKEY_TAB,
    VKEY_CLEAR,
    VKEY_RETURN,
    VKEY_PAUSE,
    VKEY_ESCAPE,
    VKEY_SPACE,
    VKEY_NEXT,
    VKEY_END,
    VKEY_HOME,
    VKEY_LEFT,
    VKEY_UP,
    VKEY_RIGHT,
    VKEY_DOWN,
    VKEY_PAGEUP,
    VKEY_PAGEDOWN,
    VKEY_SELECT,
    VKEY_PRINT,
    VKEY_ENTER,
    VKEY_SNAPSHOT,
    VKEY_INSERT,
    VKEY_DELETE
};

} // namespace VSTGUI
