// The framework's views and sub-controllers named in an editor description: kick buttons, XY
// pads, units labels and edits, LED and needle meters, and pad controllers that bind a pad to
// two parameters. Names it does not know go to the DSP object, which may build views of its own.
#pragma once

#include "core/CPlugIn.h"
#include "core/PlugInTypes.h"

#include "vstgui/uidescription/icontroller.h"
#include "vstgui/uidescription/iuidescription.h"
#include "vstgui/uidescription/uiattributes.h"

namespace Steinberg {
namespace Vst {
class EditController;
namespace Vava2DUZ3 {

// Rate at which the editor repaints, and so how often a meter's detector runs.
constexpr float kMeterUpdatesPerSecond = 20.0f;

// The view for a "custom-view-name", or none. message is the record handed to the DSP object
// for names the framework does not know; the texts and colours it points to are valid only
// during that call, and the record points to none of them afterwards.
VSTGUI::CView* createFrameworkView(CPlugIn& plugIn, CUiMessage& message, const char* name,
                                   const VSTGUI::UIAttributes& attributes,
                                   const VSTGUI::IUIDescription* description);

// The pad controller a "sub-controller" name asks for, or none.
VSTGUI::IController* createFrameworkSubController(const char* name, EditController* controller,
                                                  VSTGUI::IController* parent);

} // namespace Vava2DUZ3
} // namespace Vst
} // namespace Steinberg
