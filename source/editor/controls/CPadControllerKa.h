// The pad controller of the framework's panels: binds an XY pad to two parameters exactly as
// VSTGUI's pad controller does.
#pragma once

#include "vstgui/plugin-bindings/vst3padcontroller.h"

namespace VSTGUI {

class CPadControllerKa : public PadController
{
public:
    using PadController::PadController;
    ~CPadControllerKa() override = default;
};

} // namespace VSTGUI
