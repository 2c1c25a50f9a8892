#include "CControlEntry.h"

#include <cstring>

void CControlEntry::setText(Text& field, const char* text)
{
    // A null text stores the empty text; anything longer than the field is cut, never overrun.
    if (text == nullptr)
    {
        field[0] = '\0';
        return;
    }
    size_t length = 0;
    while (length < kControlTextCapacity - 1 && text[length] != '\0')
        ++length;
    std::memcpy(field, text, length);
    field[length] = '\0';
}
