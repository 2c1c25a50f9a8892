// What views and controllers may ask of a description while it builds them.
#pragma once

#include "../lib/ccolor.h"
#include "../lib/cfont.h"
#include "../lib/vstguifwd.h"

namespace VSTGUI {

class IUIDescription
{
public:
    virtual ~IUIDescription() = default;

    virtual CBitmap* getBitmap(UTF8StringPtr name) const = 0;
    virtual CFontDesc* getFont(UTF8StringPtr name) const = 0;
    // False (colour unchanged) when the name is neither a defined nor a predefined colour;
    // "#rrggbb[aa]" is accepted as well.
    virtual bool getColor(UTF8StringPtr name, CColor& color) const = 0;
    // -1 when the name has no tag.
    virtual int32_t getTagForName(UTF8StringPtr name) const = 0;
    virtual IControlListener* getControlListener(UTF8StringPtr name) const = 0;
    virtual IController* getController() const = 0;
};

} // namespace VSTGUI
